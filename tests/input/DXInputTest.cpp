#include "input/DXInput.h"

#include "platform/app/Application.h"
#include "platform/app/Form.h"
#include "platform/headless/HeadlessPlatform.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace {

// Key codes (keyboard positions) used below.
constexpr int kKeyEsc = 1;
constexpr int kKeyBracketLeft = 26;
constexpr int kKeyBracketRight = 27;
constexpr int kKeyH = 35;
constexpr int kKeyApostrophe = 40;
constexpr int kKeyGrave = 41; // has no virtual-key code
constexpr int kKeyPeriod = 52;
constexpr int kKeyPadStar = 55;
constexpr int kKeyPad4 = 75;
constexpr int kKeyUp = 200;
constexpr int kKeyLeft = 203;
constexpr int kKeyRight = 205;
constexpr int kKeyDown = 208;

constexpr std::size_t kLeft = StateBit(TInputState::Left);

class DXInputTest : public ::testing::Test {
protected:
    // Settings as the game's form stores them: joystick and mouse off.
    void Load() {
        input.BeginLoading();
        input.Joystick().Enabled = false;
        input.Mouse().Enabled = false;
        input.Loaded();
    }
    void PollWith(int key) {
        platform.Keys.fill(0);
        platform.PressKey(key);
        input.Poll();
    }

    platform::HeadlessPlatform platform;
    TApplication app{platform};
    TForm& form = app.AddForm(std::make_unique<TForm>(app));
    TDXInput& input = CreateComponent<TDXInput>(form);
    TKeyboard& keyboard = input.Keyboard();
};

TEST(DXInputConstruction, WithoutFormRaisesFormNotFound) {
    TComponent owner(nullptr);
    try {
        TDXInput input(&owner);
        FAIL() << "no error";
    } catch (const EDXInputError& e) {
        EXPECT_STREQ(e.what(), "Form not found");
    }
}

TEST_F(DXInputTest, Construction_DevicesInPollOrder) {
    const std::vector<TCustomInput*> expected{&input.Joystick(), &input.Keyboard(), &input.Mouse()};
    EXPECT_EQ(input.Devices(), expected);
    EXPECT_FALSE(keyboard.IsInitialized()) << "started only at the end of loading";
}

TEST_F(DXInputTest, Assigns_DefaultTable) {
    const TKeyAssignList& a = keyboard.Assigns;
    EXPECT_EQ(a[StateBit(TInputState::Up)], (TKeyAssign{75, 38, 104}));
    EXPECT_EQ(a[StateBit(TInputState::Down)], (TKeyAssign{74, 40, 98}));
    EXPECT_EQ(a[StateBit(TInputState::Left)], (TKeyAssign{72, 37, 100}));
    EXPECT_EQ(a[StateBit(TInputState::Right)], (TKeyAssign{76, 39, 102}));
    EXPECT_EQ(a[StateBit(TInputState::Button1)], (TKeyAssign{90, 32, 0}));
    EXPECT_EQ(a[StateBit(TInputState::Button2)], (TKeyAssign{88, 13, 0}));
    EXPECT_EQ(a[StateBit(TInputState::Button9)], (TKeyAssign{113, 0, 0}));
    int assigned = 0;
    for (const TKeyAssign& record : a) {
        assigned += record != TKeyAssign{0, 0, 0};
    }
    EXPECT_EQ(assigned, 7);
}

TEST_F(DXInputTest, Loaded_StartsKeyboardWithForegroundNonExclusiveDevice) {
    Load();
    EXPECT_TRUE(keyboard.IsInitialized());
    ASSERT_NE(keyboard.Device(), nullptr);
    EXPECT_EQ(keyboard.Device()->CooperativeLevel(), 0x06u);
    EXPECT_FALSE(input.Joystick().IsInitialized());
    input.SetActiveOnly(false);
    EXPECT_EQ(keyboard.Device()->CooperativeLevel(), 0x0Au);
}

TEST_F(DXInputTest, KeyDown_ZeroAndBeyond255AreNeverDown) {
    Load();
    platform.PressKey(kKeyGrave);
    input.Poll();
    EXPECT_EQ(keyboard.KeyTable()[0], 0x80) << "an unmapped key lands in entry 0";
    EXPECT_FALSE(keyboard.KeyDown(0));
    EXPECT_FALSE(keyboard.KeyDown(256));
    EXPECT_FALSE(keyboard.KeyDown(UINT32_MAX));
}

TEST_F(DXInputTest, Left_FromArrowAndFromH) {
    Load();
    PollWith(kKeyLeft);
    EXPECT_TRUE(keyboard.KeyDown(37));
    EXPECT_TRUE(input.States.test(kLeft));

    PollWith(kKeyH);
    EXPECT_TRUE(keyboard.KeyDown(72));
    EXPECT_FALSE(keyboard.KeyDown(37));
    EXPECT_TRUE(keyboard.DeviceStates().test(kLeft));
    EXPECT_TRUE(input.States.test(kLeft));
}

TEST_F(DXInputTest, Poll_PunctuationKeysGiveCharacterCodes) {
    Load();
    PollWith(kKeyApostrophe);
    EXPECT_TRUE(keyboard.KeyDown(39)) << "reads as the right arrow";
    EXPECT_TRUE(input.States.test(StateBit(TInputState::Right)));

    PollWith(kKeyPad4);
    EXPECT_TRUE(keyboard.KeyDown(100));
    EXPECT_FALSE(keyboard.KeyDown(37));

    const std::pair<int, uint32_t> cases[] = {{kKeyEsc, 27},          {kKeyPeriod, 46},  {kKeyBracketLeft, 91},
                                              {kKeyBracketRight, 93}, {kKeyPadStar, 42}, {kKeyUp, 38},
                                              {kKeyRight, 39},        {kKeyDown, 40}};
    for (const auto& [key, vk] : cases) {
        PollWith(key);
        EXPECT_TRUE(keyboard.KeyDown(vk)) << "key " << key;
        int down = 0;
        for (uint32_t code = 1; code < 256; ++code) {
            down += keyboard.KeyDown(code);
        }
        EXPECT_EQ(down, 1) << "key " << key;
    }
}

TEST_F(DXInputTest, States_HeldKeyEntersOnceAndReturnsOnlyAfterNewPress) {
    Load();
    PollWith(kKeyH);
    ASSERT_TRUE(input.States.test(kLeft));
    input.States.reset(kLeft);
    input.Poll();
    EXPECT_FALSE(input.States.test(kLeft)) << "still held: not added again";
    EXPECT_TRUE(input.PreviousStates().test(kLeft));

    platform.ReleaseKey(kKeyH);
    input.Poll();
    EXPECT_FALSE(input.States.test(kLeft));
    platform.PressKey(kKeyH);
    input.Poll();
    EXPECT_TRUE(input.States.test(kLeft));
    platform.ReleaseKey(kKeyH);
    input.Poll();
    EXPECT_FALSE(input.States.test(kLeft));
}

TEST_F(DXInputTest, ActiveOnly_EveryKeyUpWithoutFocus) {
    Load();
    PollWith(kKeyLeft);
    ASSERT_TRUE(input.States.test(kLeft));
    platform.SetForeground(false);
    input.Poll();
    EXPECT_FALSE(keyboard.KeyDown(37));
    EXPECT_EQ(keyboard.KeyTable(), (std::array<uint8_t, 256>{}));
    EXPECT_TRUE(input.States.none());

    // Reading in the background needs ActiveOnly off.
    input.SetActiveOnly(false);
    input.Poll();
    EXPECT_TRUE(keyboard.KeyDown(37));
}

TEST_F(DXInputTest, UseDirectInputOff_ReadsSameSnapshotWithoutDevice) {
    Load();
    input.SetUseDirectInput(false);
    EXPECT_EQ(keyboard.Device(), nullptr);
    EXPECT_TRUE(keyboard.IsInitialized());
    PollWith(kKeyApostrophe);
    EXPECT_TRUE(keyboard.KeyDown(39));
    platform.SetForeground(false);
    input.Poll();
    EXPECT_FALSE(keyboard.KeyDown(39));
}

TEST_F(DXInputTest, DisabledKeyboard_StaysUninitialisedAndReadsNothing) {
    input.BeginLoading();
    keyboard.Enabled = false;
    input.Loaded();
    EXPECT_FALSE(keyboard.IsInitialized());
    EXPECT_EQ(keyboard.Device(), nullptr);
    PollWith(kKeyLeft);
    EXPECT_FALSE(keyboard.KeyDown(37));
    EXPECT_TRUE(input.States.none());
}

TEST_F(DXInputTest, BindInputStatesOff_KeysReadButStatesStayEmpty) {
    Load();
    keyboard.BindInputStates = false;
    PollWith(kKeyLeft);
    EXPECT_TRUE(keyboard.KeyDown(37));
    EXPECT_TRUE(keyboard.DeviceStates().test(kLeft));
    EXPECT_TRUE(input.States.none());
}

TEST_F(DXInputTest, WindowWatcher_NewWindowSetsCooperativeLevelAgain) {
    Load();
    const TKeyboardDevice* device = keyboard.Device();
    ASSERT_NE(device, nullptr);
    input.BeginLoading();
    input.SetActiveOnly(false);
    EXPECT_EQ(device->CooperativeLevel(), 0x06u) << "while loading the value is only stored";
    form.Show();
    EXPECT_EQ(device->CooperativeLevel(), 0x0Au);
}

TEST_F(DXInputTest, WindowWatcher_ActivationAcquiresDevice) {
    // Started behind another window: nothing is read, so nothing is acquired yet.
    platform.Foreground = false;
    Load();
    const TKeyboardDevice* device = keyboard.Device();
    ASSERT_NE(device, nullptr);
    EXPECT_FALSE(device->Acquired());
    platform.SetForeground(true);
    app.Step();
    ASSERT_TRUE(form.Active());
    EXPECT_TRUE(device->Acquired());
}

TEST_F(DXInputTest, AssignsData_RoundTrip) {
    std::vector<uint8_t> data = keyboard.AssignsData();
    ASSERT_EQ(data.size(), 432u);
    EXPECT_EQ((std::vector<uint8_t>(data.begin(), data.begin() + 12)),
              (std::vector<uint8_t>{75, 0, 0, 0, 38, 0, 0, 0, 104, 0, 0, 0}));

    keyboard.Assigns[35] = {0x12345678, -1, 7};
    data = keyboard.AssignsData();
    EXPECT_EQ((std::vector<uint8_t>(data.end() - 12, data.end())),
              (std::vector<uint8_t>{0x78, 0x56, 0x34, 0x12, 0xFF, 0xFF, 0xFF, 0xFF, 7, 0, 0, 0}));
    const TKeyAssignList changed = keyboard.Assigns;
    keyboard.Assigns = TKeyboard::DefaultAssigns();
    keyboard.ReadAssignsData(data.data(), data.size());
    EXPECT_EQ(keyboard.Assigns, changed);
}

TEST_F(DXInputTest, ReadAssignsData_RefusesBlockOfWrongSize) {
    keyboard.Assigns[4] = {1, 2, 3};
    const TKeyAssignList before = keyboard.Assigns;
    std::vector<uint8_t> data(433, 0xAB);
    EXPECT_THROW(keyboard.ReadAssignsData(data.data(), 431), EDXInputError);
    EXPECT_THROW(keyboard.ReadAssignsData(data.data(), 433), EDXInputError);
    EXPECT_THROW(keyboard.ReadAssignsData(nullptr, 432), EDXInputError);
    EXPECT_EQ(keyboard.Assigns, before);
}

} // namespace
