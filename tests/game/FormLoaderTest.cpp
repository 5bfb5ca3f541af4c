#include "display/DXDraw.h"
#include "display/DXImageList.h"
#include "display/DirectXErrors.h"
#include "game/MainForm.h"
#include "game/StoredMainForm.h"
#include "input/DXInput.h"
#include "platform/Application.h"
#include "platform/headless/HeadlessPlatform.h"

#include <gtest/gtest.h>

namespace {

// The program's own stored form with one property changed.
TStoredForm WithProperty(const std::string& component, const std::string& name, TStoredValue value) {
    TStoredForm form = StoredMainForm();
    for (auto& c : form.Components) {
        if (c.Name == component) {
            c.Properties.emplace_back(name, std::move(value));
        }
    }
    return form;
}

class FormLoaderTest : public ::testing::Test {
protected:
    void Load(const TStoredForm& stored) { TForm1 form(app, stored); }

    platform::HeadlessPlatform platform;
    TApplication app{platform};
};

TEST_F(FormLoaderTest, ReadsTheStoredSettings) {
    TForm1 form(app, StoredMainForm());
    EXPECT_EQ(form.DXDraw->Options(), 0x348D);
    EXPECT_EQ(form.DXDraw->Display.BitCount(), 16);
    EXPECT_EQ(form.DXDraw->Cursor, -1);
    EXPECT_EQ(form.DXDraw->Width(), 640);
    EXPECT_EQ(form.WorldList->Items().ItemAt(1).PatternWidth, 30);
    EXPECT_EQ(form.WorldList->Items().ItemAt(1).TransparentColor(), 38306);
    EXPECT_FALSE(form.WorldList->Items().ItemAt(1).Transparent);
    EXPECT_EQ(form.GraphicList->DXDraw(), form.DXDraw);
    EXPECT_TRUE(form.DXInput->ActiveOnly());
    EXPECT_FALSE(form.DXInput->Joystick().Enabled);
    EXPECT_EQ(form.DXInput->Keyboard().Assigns[2][0], 72);
}

TEST_F(FormLoaderTest, AcceptsTheMisspeltAssignsName) {
    std::vector<uint8_t> table(432, 0);
    table[0] = 65; // Up from A
    TForm1 form(app, WithProperty("DXInput", "Keyboard.Aissgns", TStoredValue::Data(table)));
    EXPECT_EQ(form.DXInput->Keyboard().Assigns[0][0], 65);
}

TEST_F(FormLoaderTest, RefusesWhatTheFormCannotHold) {
    EXPECT_THROW(Load(WithProperty("DXDraw", "Colour", TStoredValue::Int(1))), EReadError);
    EXPECT_THROW(Load(WithProperty("DXDraw", "AutoSize", TStoredValue::Int(1))), EReadError);
    EXPECT_THROW(Load(WithProperty("GraphicList", "DXDraw", TStoredValue::Ident("Nowhere"))), EReadError);
    EXPECT_THROW(Load(WithProperty("DXDraw", "Options", TStoredValue::SetOf({"doEverything"}))), EReadError);
    EXPECT_THROW(Load(WithProperty("DXTimer", "OnTimer", TStoredValue::Ident("SomethingElse"))), EReadError);
    TStoredForm unknown = StoredMainForm();
    unknown.Components.push_back(TStoredComponent{"TNothing", "Nothing", {}});
    EXPECT_THROW(Load(unknown), EReadError);
}

TEST_F(FormLoaderTest, DamagedPictureDataIsRefusedWhileLoading) {
    TStoredForm form = StoredMainForm();
    for (auto& c : form.Components) {
        if (c.Name != "FXList") {
            continue;
        }
        for (auto& [name, value] : c.Properties) {
            if (name != "Items") {
                continue;
            }
            for (auto& [key, v] : value.Items[0]) {
                if (key == "Picture.Data") {
                    v.Bytes[5] = 41; // after the class name "TDIB": a header size of 41
                }
            }
        }
    }
    try {
        Load(form);
        FAIL() << "accepted";
    } catch (const EDirectDrawError& e) {
        EXPECT_STREQ(e.what(), "DIB is invalid");
    }
}

} // namespace
