#pragma once

#include <string>
#include <string_view>

namespace platform {

// Text from outside (a file's words, a file name, an argument) made safe to print on a terminal:
// control bytes (C0, DEL), bytes that are not UTF-8 and the C1 controls U+0080..U+009F become
// `\xHH` per byte, and a backslash becomes `\\`, so that the text cannot move the cursor, retitle
// the window or change colours, and every escape reads back one way. Printable UTF-8 is kept.
std::string EscapeControls(std::string_view text);

} // namespace platform
