#pragma once

#include <cstddef>
#include <cstdint>

// VK_EMBED_FILE(symbol, path, sizeText) places the bytes of the file at `path` (a string literal)
// in the program's read-only data, starting at `symbol`; VK_EMBEDDED_SIZE(symbol, size) is their
// number. In WebAssembly, data wants a section of its own and a symbol with a type and a size, so
// there `sizeText`, the size as a string literal, comes from a header the build writes next to
// the file and `size` is the same number; elsewhere an end symbol marks the size and both go
// unused.
#if defined(__wasm__)
#define VK_EMBED_FILE(symbol, path, sizeText)                                                                          \
    __asm__(".section .rodata." #symbol ",\"\",@\n"                                                                    \
            ".p2align 4\n"                                                                                             \
            ".type " #symbol ",@object\n" #symbol ":\n"                                                                \
            ".incbin \"" path "\"\n"                                                                                   \
            ".size " #symbol ", " sizeText "\n");                                                                      \
    extern "C" const uint8_t symbol[]
#define VK_EMBEDDED_SIZE(symbol, size) static_cast<std::size_t>(size)
#else
#define VK_EMBED_FILE(symbol, path, sizeText)                                                                          \
    __asm__(".section .rodata\n"                                                                                       \
            ".balign 16\n" #symbol ":\n"                                                                               \
            ".incbin \"" path "\"\n" #symbol "_end:\n"                                                                 \
            ".previous\n");                                                                                            \
    extern "C" const uint8_t symbol[];                                                                                 \
    extern "C" const uint8_t symbol##_end[]
#define VK_EMBEDDED_SIZE(symbol, size) static_cast<std::size_t>(symbol##_end - symbol)
#endif
