#pragma once

#include <cstddef>
#include <cstdint>

// Every bound the program puts on what its inputs may ask for, in one place. Each is checked
// before anything is allocated for the input, and each lies far above what the program's own
// files need, so only damaged or hostile input reaches one.
namespace platform {

// Largest picture a picture block may declare. The game's largest picture is 640 x 480; a
// 4096 x 4096 picture already takes 48 MB decoded and as much again in its surface.
inline constexpr int64_t kMaxPictureArea = int64_t{4096} * 4096;
// Longest side of a picture, so that a long thin picture stays within what a surface can hold.
inline constexpr int64_t kMaxPictureSide = 16384;

// Most patterns one picture item may be cut into (the game's items have one or two).
inline constexpr int64_t kMaxPatterns = 65536;

// Stored form: most entries of one list (properties, set members, items, components), and how
// deep collections may nest inside each other.
inline constexpr uint32_t kMaxStoredCount = 1u << 20;
inline constexpr int kMaxStoredDepth = 8;

// Text: tallest font asked for, and most open fonts kept at once (the program uses a handful).
inline constexpr int kMaxFontHeight = 1024;
inline constexpr std::size_t kMaxOpenFonts = 64;

// Largest file read whole into memory: font files, and the sources and pictures the tools read.
inline constexpr std::size_t kMaxFontFileBytes = std::size_t{64} << 20;
inline constexpr std::size_t kMaxToolFileBytes = std::size_t{64} << 20;

} // namespace platform
