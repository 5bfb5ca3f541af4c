#include "display/DXDraw.h"
#include "display/DXImageList.h"
#include "display/DirectXErrors.h"
#include "game/MainForm.h"
#include "game/StoredMainForm.h"
#include "input/DXInput.h"
#include "platform/app/Application.h"
#include "platform/headless/HeadlessPlatform.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>
#include <string>

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

// The stored properties of item `index` of the named image list.
TStoredProperties& ItemOf(TStoredForm& form, const std::string& list, std::size_t index) {
    for (auto& c : form.Components) {
        for (auto& [name, value] : c.Properties) {
            if (c.Name == list && name == "Items") {
                return value.Items.at(index);
            }
        }
    }
    throw std::runtime_error("no list " + list);
}

// What the loader raised, or "" when the form loaded.
std::string LoadError(const TStoredForm& stored) {
    platform::HeadlessPlatform platform;
    TApplication app{platform};
    try {
        TForm1 form(app, stored);
    } catch (const std::exception& e) {
        return e.what();
    }
    return "";
}

// 2^40 used to be cut to 32 bits and load as 0.
TEST_F(FormLoaderTest, RefusesIntegersThatDoNotFitTheirProperty) {
    const int64_t big = int64_t{1} << 40;
    EXPECT_EQ(LoadError(WithProperty("DXDraw", "Cursor", TStoredValue::Int(big))),
              "Error reading DXDraw.Cursor: Invalid property value 1099511627776");
    EXPECT_EQ(LoadError(WithProperty("DXDraw", "Display.Width", TStoredValue::Int(INT64_MIN))),
              "Error reading DXDraw.Display.Width: Invalid property value -9223372036854775808");
    EXPECT_EQ(LoadError(WithProperty("Timer1", "Interval", TStoredValue::Int(-1))),
              "Error reading Timer1.Interval: Invalid property value -1");
    TStoredForm pattern = StoredMainForm();
    ItemOf(pattern, "WorldList", 2).emplace_back("PatternWidth", TStoredValue::Int(big + 30));
    EXPECT_EQ(LoadError(pattern),
              "Error reading WorldList.Items[2].PatternWidth: Invalid property value " + std::to_string(big + 30));
    // The ends of each type still load.
    EXPECT_EQ(LoadError(WithProperty("DXDraw", "Cursor", TStoredValue::Int(INT32_MIN))), "");
    EXPECT_EQ(LoadError(WithProperty("Timer1", "Interval", TStoredValue::Int(UINT32_MAX))), "");
}

// Without these the first activation or frame would call through a missing component.
TEST_F(FormLoaderTest, RefusesAFormWithoutAComponentTheGameNeeds) {
    for (const char* missing :
         {"DXSpriteEngine", "GraphicList", "FXList", "FonList", "WorldList", "DXTimer", "DXInput", "Timer1"}) {
        TStoredForm form = StoredMainForm();
        std::erase_if(form.Components, [&](const TStoredComponent& c) { return c.Name == missing; });
        EXPECT_EQ(LoadError(form), std::string("Error reading ") + missing + ": Component not found");
    }
    // A component of the wrong class under a needed name does not stand in for it.
    TStoredForm wrongClass = StoredMainForm();
    for (auto& c : wrongClass.Components) {
        if (c.Name == "DXSpriteEngine") {
            c = TStoredComponent{"TDXWaveList", "DXSpriteEngine", {}};
        }
    }
    EXPECT_EQ(LoadError(wrongClass), "Error reading DXSpriteEngine: Component not found");
}

TEST_F(FormLoaderTest, RefusesAnImageListWithFewerPicturesThanTheGameUses) {
    TStoredForm form = StoredMainForm();
    for (auto& c : form.Components) {
        for (auto& [name, value] : c.Properties) {
            if (c.Name == "FXList" && name == "Items") {
                value.Items.pop_back();
            }
        }
    }
    EXPECT_EQ(LoadError(form), "Error reading FXList: Holds 12 pictures, the game needs 13");
}

// 1 x 1 patterns of the 630 x 450 backdrop would be 283,500 patterns.
TEST_F(FormLoaderTest, RefusesPatternGeometryBeyondTheLimitWhileLoading) {
    TStoredForm form = StoredMainForm();
    ItemOf(form, "FXList", 12).emplace_back("PatternWidth", TStoredValue::Int(1));
    ItemOf(form, "FXList", 12).emplace_back("PatternHeight", TStoredValue::Int(1));
    EXPECT_EQ(LoadError(form), "FXList.Items[12] would be cut into 283500 patterns, more than 65536");
}

} // namespace
