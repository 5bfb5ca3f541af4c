#include "platform/base/ControlEscape.h"

#include <gtest/gtest.h>

using platform::EscapeControls;

TEST(ControlEscape, ControlBytesAndBrokenUtf8BecomeHexEscapesAndPrintableTextStays) {
    const std::pair<std::string, std::string> cases[] = {
        {"plain name.vkd", "plain name.vkd"},
        {"\x1b]0;owned\x07", "\\x1b]0;owned\\x07"},
        {"tab\tline\nreturn\r", "tab\\x09line\\x0areturn\\x0d"},
        {std::string("nul\0del\x7f", 8), "nul\\x00del\\x7f"},
        {"back\\slash", "back\\\\slash"},
        {"Выход é 日本 🙂", "Выход é 日本 🙂"},
        // C1 controls (CSI U+009B), bytes that start no sequence, an overlong '/', a cut sequence.
        {"\xc2\x9b"
         "2J",
         "\\xc2\\x9b2J"},
        {"\xff\xfe", "\\xff\\xfe"},
        {"\xc0\xaf", "\\xc0\\xaf"},
        {"cut \xe6\x97", "cut \\xe6\\x97"},
        {"\xed\xa0\x80", "\\xed\\xa0\\x80"},
    };
    for (const auto& [text, escaped] : cases) {
        EXPECT_EQ(EscapeControls(text), escaped);
    }
}
