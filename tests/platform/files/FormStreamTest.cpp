#include "platform/files/FormStream.h"

#include <gtest/gtest.h>

namespace {

TStoredForm Sample() {
    TStoredForm form;
    form.Form = TStoredComponent{"TForm1", "Form1", {{"Caption", TStoredValue::Str("Vorkalith 1.00a")}}};
    TStoredProperties item{{"PatternWidth", TStoredValue::Int(30)}, {"Picture.Data", TStoredValue::Data({1, 2, 3})}};
    form.Components.push_back(TStoredComponent{"TDXImageList",
                                               "WorldList",
                                               {{"DXDraw", TStoredValue::Ident("DXDraw")},
                                                {"Options", TStoredValue::SetOf({"doFullScreen", "doCenter"})},
                                                {"Transparent", TStoredValue::Bool(true)},
                                                {"Interval", TStoredValue::Int(-5)},
                                                {"Items", TStoredValue::List({item, item})}}});
    return form;
}

TEST(FormStreamTest, RoundTripKeepsEveryKindOfValue) {
    const auto bytes = WriteStoredForm(Sample());
    const TStoredForm read = ReadStoredForm(bytes.data(), bytes.size());
    EXPECT_EQ(read.Form.Name, "Form1");
    EXPECT_EQ(read.Form.Properties[0].Value.Text, "Vorkalith 1.00a");
    ASSERT_EQ(read.Components.size(), 1u);
    const auto& props = read.Components[0].Properties;
    EXPECT_EQ(props[0].Value.Type, TStoredValue::Kind::Identifier);
    EXPECT_EQ(props[1].Value.Members, (std::vector<std::string>{"doFullScreen", "doCenter"}));
    EXPECT_TRUE(props[2].Value.Boolean);
    EXPECT_EQ(props[3].Value.Integer, -5);
    ASSERT_EQ(props[4].Value.Items.size(), 2u);
    EXPECT_EQ(props[4].Value.Items[1][1].Value.Bytes, (std::vector<uint8_t>{1, 2, 3}));
}

TEST(FormStreamTest, RefusesEveryTruncationAndTrailingBytes) {
    const auto bytes = WriteStoredForm(Sample());
    for (std::size_t n = 0; n < bytes.size(); ++n) {
        EXPECT_THROW(ReadStoredForm(bytes.data(), n), EReadError) << n;
    }
    auto longer = bytes;
    longer.push_back(0);
    EXPECT_THROW(ReadStoredForm(longer.data(), longer.size()), EReadError);
}

TEST(FormStreamTest, RefusesUnknownKindsHugeCountsAndDeepNesting) {
    auto bytes = WriteStoredForm(Sample());
    auto wrongSignature = bytes;
    wrongSignature[0] = 'X';
    EXPECT_THROW(ReadStoredForm(wrongSignature.data(), wrongSignature.size()), EReadError);

    TStoredForm form;
    form.Components.push_back(TStoredComponent{"T", "C", {{"P", TStoredValue::Int(1)}}});
    auto kind = WriteStoredForm(form);
    // The value kind of P is the byte after its name.
    const std::size_t at = kind.size() - 9;
    ASSERT_EQ(kind[at], static_cast<uint8_t>(TStoredValue::Kind::Integer));
    kind[at] = 99;
    EXPECT_THROW(ReadStoredForm(kind.data(), kind.size()), EReadError);

    auto huge = WriteStoredForm(TStoredForm{});
    huge[huge.size() - 1] = 0x7F; // a component count of about two billion
    EXPECT_THROW(ReadStoredForm(huge.data(), huge.size()), EReadError);

    TStoredValue nested = TStoredValue::Int(0);
    for (int i = 0; i < 20; ++i) {
        nested = TStoredValue::List({TStoredProperties{{"Inner", nested}}});
    }
    TStoredForm deep;
    deep.Form.Properties.emplace_back("Deep", nested);
    auto deepBytes = WriteStoredForm(deep);
    EXPECT_THROW(ReadStoredForm(deepBytes.data(), deepBytes.size()), EReadError);
}

} // namespace
