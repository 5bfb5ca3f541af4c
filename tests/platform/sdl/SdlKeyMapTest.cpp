#include "platform/sdl/SdlKeyMap.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

using namespace platform;

// SDL scancodes are the USB keyboard usage numbers; the tests name them by number so that
// they need no SDL header.
namespace usb {
constexpr int Digit1 = 30, Digit0 = 39, Enter = 40, Esc = 41, Space = 44, F1 = 58, F10 = 67, F11 = 68, F12 = 69,
              Right = 79, Left = 80, Down = 81, Up = 82, KpDivide = 84, KpMultiply = 85, KpEnter = 88, Kp1 = 89,
              Kp0 = 98, KpPeriod = 99, Backslash = 49, NonUsHash = 50, LCtrl = 224, LShift = 225, LAlt = 226,
              LGui = 227, RCtrl = 228, RShift = 229, RAlt = 230, RGui = 231, Application = 101;
}

TEST(SdlKeyMap, LetterRowsLandOnTheirScanCodes) {
    const int qRow[] = {20, 26, 8, 21, 23, 28, 24, 12, 18, 19}; // Q W E R T Y U I O P
    const int aRow[] = {4, 22, 7, 9, 10, 11, 13, 14, 15};       // A S D F G H J K L
    const int zRow[] = {29, 27, 6, 25, 5, 17, 16};              // Z X C V B N M
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(KeyCodeForScancode(qRow[i]), 16 + i) << i;
    }
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(KeyCodeForScancode(aRow[i]), 30 + i) << i;
    }
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(KeyCodeForScancode(zRow[i]), 44 + i) << i;
    }
}

TEST(SdlKeyMap, DigitsFunctionKeysAndKeypad) {
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(KeyCodeForScancode(usb::Digit1 + i), 2 + i);
    }
    EXPECT_EQ(KeyCodeForScancode(usb::Digit0), 11);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(KeyCodeForScancode(usb::F1 + i), 59 + i);
    }
    EXPECT_EQ(KeyCodeForScancode(usb::F10), 68);
    EXPECT_EQ(KeyCodeForScancode(usb::F11), 87);
    EXPECT_EQ(KeyCodeForScancode(usb::F12), 88);
    // Keypad 1 2 3 4 5 6 7 8 9 0 sit at 79 80 81 75 76 77 71 72 73 82.
    const int keypad[] = {79, 80, 81, 75, 76, 77, 71, 72, 73, 82};
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(KeyCodeForScancode(usb::Kp1 + i), keypad[i]) << i;
    }
    EXPECT_EQ(KeyCodeForScancode(usb::Kp0), 82);
    EXPECT_EQ(KeyCodeForScancode(usb::KpPeriod), 83);
    EXPECT_EQ(KeyCodeForScancode(usb::KpMultiply), 55);
    EXPECT_EQ(KeyCodeForScancode(usb::KpDivide), 181);
    EXPECT_EQ(KeyCodeForScancode(usb::KpEnter), 156);
}

TEST(SdlKeyMap, ArrowsModifiersAndSpecialKeys) {
    EXPECT_EQ(KeyCodeForScancode(usb::Esc), 1);
    EXPECT_EQ(KeyCodeForScancode(usb::Enter), 28);
    EXPECT_EQ(KeyCodeForScancode(usb::Space), 57);
    EXPECT_EQ(KeyCodeForScancode(usb::Up), 200);
    EXPECT_EQ(KeyCodeForScancode(usb::Left), 203);
    EXPECT_EQ(KeyCodeForScancode(usb::Right), 205);
    EXPECT_EQ(KeyCodeForScancode(usb::Down), 208);
    EXPECT_EQ(KeyCodeForScancode(usb::LCtrl), 29);
    EXPECT_EQ(KeyCodeForScancode(usb::RCtrl), 157);
    EXPECT_EQ(KeyCodeForScancode(usb::LShift), 42);
    EXPECT_EQ(KeyCodeForScancode(usb::RShift), 54);
    EXPECT_EQ(KeyCodeForScancode(usb::LAlt), 56);
    EXPECT_EQ(KeyCodeForScancode(usb::RAlt), 184);
    EXPECT_EQ(KeyCodeForScancode(usb::LGui), 219);
    EXPECT_EQ(KeyCodeForScancode(usb::RGui), 220);
    EXPECT_EQ(KeyCodeForScancode(usb::Application), 221);
    EXPECT_EQ(KeyCodeForScancode(usb::Backslash), 43);
}

TEST(SdlKeyMap, UnknownAndOutOfRangeScancodesHaveNoPosition) {
    EXPECT_EQ(KeyCodeForScancode(0), 0);
    EXPECT_EQ(KeyCodeForScancode(-1), 0);
    EXPECT_EQ(KeyCodeForScancode(512), 0);
    EXPECT_EQ(KeyCodeForScancode(1 << 20), 0);
}

TEST(SdlKeyMap, NoTwoKeysShareAPositionExceptTheTwoBackslashKeys) {
    std::map<int, std::vector<int>> byCode;
    for (int s = 0; s < 512; ++s) {
        if (int code = KeyCodeForScancode(s); code != 0) {
            byCode[code].push_back(s);
        }
    }
    for (const auto& [code, scancodes] : byCode) {
        if (code == 43) {
            EXPECT_EQ(scancodes, (std::vector<int>{usb::Backslash, usb::NonUsHash}));
        } else {
            EXPECT_EQ(scancodes.size(), 1u) << "code " << code;
        }
    }
}

TEST(SdlKeyMap, MapKeyboardStateMarksHeldKeysAndClearsTheRest) {
    std::vector<uint8_t> held(512, 0);
    held[usb::Esc] = 1;
    held[usb::Up] = 1;
    held[usb::Application + 1] = 1; // a key without a position
    KeyState keys;
    keys.fill(0x55);
    MapKeyboardState(held.data(), static_cast<int>(held.size()), keys);
    for (int code = 0; code < 256; ++code) {
        EXPECT_EQ(keys[code], code == 1 || code == 200 ? 0x80 : 0) << code;
    }
}

TEST(SdlKeyMap, MapKeyboardStateReadsNoFurtherThanCount) {
    std::vector<uint8_t> held(usb::Esc + 1, 1);
    KeyState keys;
    MapKeyboardState(held.data(), usb::Esc, keys); // Esc itself lies beyond the count
    EXPECT_EQ(keys[1], 0);
    EXPECT_EQ(keys[30], 0x80); // A
    MapKeyboardState(nullptr, 512, keys);
    EXPECT_EQ(keys[30], 0);
}
