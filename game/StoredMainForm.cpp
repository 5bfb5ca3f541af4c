#include "game/StoredMainForm.h"

#include "platform/files/Inflate.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

// The deflated form's head: a signature that no stored form starts with, the delta stride (each
// byte was stored as its difference from the byte that many places before it; 0: none), and
// the stored form's size (32 bits, little-endian); the zlib stream follows.
constexpr char kDeflatedSignature[7] = {'V', 'K', 'F', 'O', 'R', 'M', 'Z'};
constexpr std::size_t kDeflatedHeadSize = 12;
constexpr std::size_t kMaxDeltaStride = 8;
// Far above the 3 MB the game's form takes, so only a damaged head reaches it.
constexpr std::size_t kMaxInflatedFormBytes = std::size_t{64} << 20;

// Undoes the delta coding: each byte gets back the byte `stride` places before it. For stride 3
// (the bytes of 24-bit pixels, which formpack uses) one running sum per byte of a pixel stays in
// a register; a browser runs that some three times faster than the loop through memory in the
// unoptimised code it starts the page with.
void AddBack(std::vector<uint8_t>& bytes, std::size_t stride) {
    if (stride == 0) {
        return;
    }
    uint8_t* const p = bytes.data();
    const std::size_t size = bytes.size();
    std::size_t at = stride;
    if (stride == 3 && size >= 3) {
        uint8_t a = p[0], b = p[1], c = p[2];
        for (; at + 3 <= size; at += 3) {
            a = static_cast<uint8_t>(a + p[at]);
            b = static_cast<uint8_t>(b + p[at + 1]);
            c = static_cast<uint8_t>(c + p[at + 2]);
            p[at] = a;
            p[at + 1] = b;
            p[at + 2] = c;
        }
    }
    for (; at < size; ++at) {
        p[at] = static_cast<uint8_t>(p[at] + p[at - stride]);
    }
}

} // namespace

TStoredForm ReadPackedForm(const uint8_t* data, std::size_t size) {
    if (size < kDeflatedHeadSize || std::memcmp(data, kDeflatedSignature, sizeof kDeflatedSignature) != 0) {
        return ReadStoredForm(data, size);
    }
    const std::size_t stride = data[7];
    const std::size_t inflatedSize =
        std::size_t{data[8]} | std::size_t{data[9]} << 8 | std::size_t{data[10]} << 16 | std::size_t{data[11]} << 24;
    if (stride > kMaxDeltaStride || inflatedSize > kMaxInflatedFormBytes) {
        throw EReadError("Stream read error");
    }
    std::vector<uint8_t> bytes;
    try {
        bytes = platform::Inflate(data + kDeflatedHeadSize, size - kDeflatedHeadSize, inflatedSize);
    } catch (const platform::EInflateError& e) {
        throw EReadError(e.Message());
    }
    AddBack(bytes, stride);
    return ReadStoredForm(bytes.data(), bytes.size());
}

// The packed form (built from assets/form by tools/formpack, deflated or not) is placed in the
// program's read-only data as it is; VK_STORED_FORM_PATH names the packed file.
#if defined(__wasm__)
// The wasm assembler wants data in a section of its own and a data symbol with a type and a
// size; the size comes from a header the build writes next to the packed file.
#include "StoredMainFormSize.h"

__asm__(".section .rodata.vk_stored_form,\"\",@\n"
        ".p2align 4\n"
        ".type vk_stored_form_begin,@object\n"
        "vk_stored_form_begin:\n"
        ".incbin \"" VK_STORED_FORM_PATH "\"\n"
        ".size vk_stored_form_begin, " VK_STORED_FORM_SIZE_TEXT "\n");

extern "C" const uint8_t vk_stored_form_begin[];

const TStoredForm& StoredMainForm() {
    static const TStoredForm form = ReadPackedForm(vk_stored_form_begin, VK_STORED_FORM_SIZE);
    return form;
}
#else
__asm__(".section .rodata\n"
        ".balign 16\n"
        "vk_stored_form_begin:\n"
        ".incbin \"" VK_STORED_FORM_PATH "\"\n"
        "vk_stored_form_end:\n"
        ".previous\n");

extern "C" const uint8_t vk_stored_form_begin[];
extern "C" const uint8_t vk_stored_form_end[];

const TStoredForm& StoredMainForm() {
    static const TStoredForm form =
        ReadPackedForm(vk_stored_form_begin, static_cast<std::size_t>(vk_stored_form_end - vk_stored_form_begin));
    return form;
}
#endif
