#include "game/StoredMainForm.h"
#include "platform/files/Inflate.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes SampleForm(std::size_t pictureBytes) {
    TStoredForm form;
    form.Form = TStoredComponent{"TForm1", "Form1", {{"Caption", TStoredValue::Str("Vorkalith")}}};
    Bytes picture(pictureBytes);
    for (std::size_t i = 0; i < picture.size(); ++i) {
        picture[i] = static_cast<uint8_t>(i * 7 / 5);
    }
    form.Components.push_back(
        TStoredComponent{"TDXImageList", "WorldList", {{"Picture.Data", TStoredValue::Data(picture)}}});
    return WriteStoredForm(form);
}

// The deflated container as `formpack --deflate` lays it out, delta-coded with `stride`, its
// zlib stream made of stored blocks (at most 65535 bytes each) so that no compressor is needed.
Bytes Deflated(Bytes form, uint32_t declaredSize, uint8_t stride = 0) {
    for (std::size_t i = form.size(); stride > 0 && i-- > stride;) {
        form[i] = static_cast<uint8_t>(form[i] - form[i - stride]);
    }
    Bytes out{'V', 'K', 'F', 'O', 'R', 'M', 'Z', stride};
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<uint8_t>(declaredSize >> shift));
    }
    out.push_back(0x78);
    out.push_back(0x01);
    std::size_t at = 0;
    do {
        const std::size_t length = std::min<std::size_t>(form.size() - at, 65535);
        out.push_back(at + length == form.size() ? 1 : 0);
        for (const unsigned v : {static_cast<unsigned>(length), static_cast<unsigned>(length) ^ 0xffffu}) {
            out.push_back(static_cast<uint8_t>(v));
            out.push_back(static_cast<uint8_t>(v >> 8));
        }
        out.insert(out.end(), form.begin() + static_cast<std::ptrdiff_t>(at),
                   form.begin() + static_cast<std::ptrdiff_t>(at + length));
        at += length;
    } while (at < form.size());
    const uint32_t adler = platform::Adler32(form.data(), form.size());
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<uint8_t>(adler >> shift));
    }
    return out;
}

Bytes ReadAndWrite(const Bytes& packed) {
    return WriteStoredForm(ReadPackedForm(packed.data(), packed.size()));
}

} // namespace

TEST(StoredMainFormTest, AStoredFormIsReadAsItIs) {
    const Bytes form = SampleForm(100);
    EXPECT_EQ(ReadAndWrite(form), form);
}

TEST(StoredMainFormTest, ADeflatedFormIsInflatedFirst) {
    for (std::size_t pictureBytes : {0, 65000, 200000}) {
        const Bytes form = SampleForm(pictureBytes);
        EXPECT_EQ(ReadAndWrite(Deflated(form, static_cast<uint32_t>(form.size()))), form) << pictureBytes;
    }
}

TEST(StoredMainFormTest, ADeltaCodedFormIsDecodedAfterInflating) {
    // Three sizes, so that every remainder of a 3-byte pixel ends the form once.
    for (std::size_t pictureBytes : {1000, 1001, 1002}) {
        const Bytes form = SampleForm(pictureBytes);
        for (uint8_t stride : {1, 2, 3, 8}) {
            EXPECT_EQ(ReadAndWrite(Deflated(form, static_cast<uint32_t>(form.size()), stride)), form)
                << pictureBytes << " " << int{stride};
        }
    }
    const Bytes form = SampleForm(1000);
    EXPECT_THROW(ReadAndWrite(Deflated(form, static_cast<uint32_t>(form.size()), 9)), EReadError);
}

TEST(StoredMainFormTest, ADamagedDeflatedFormIsAReadError) {
    const Bytes form = SampleForm(70000);
    const auto size = static_cast<uint32_t>(form.size());
    EXPECT_THROW(ReadAndWrite(Deflated(form, size - 1)), EReadError);
    EXPECT_THROW(ReadAndWrite(Deflated(form, size + 1)), EReadError);
    // A size far beyond any form is refused before anything is allocated for it.
    EXPECT_THROW(ReadAndWrite(Deflated(form, 0xffffffffu)), EReadError);
    Bytes damaged = Deflated(form, size);
    damaged[damaged.size() / 2] ^= 0x10;
    try {
        ReadAndWrite(damaged);
        ADD_FAILURE() << "a damaged form was read";
    } catch (const EReadError& e) {
        EXPECT_EQ(e.Message(), "Inflate error: checksum mismatch");
    }
    Bytes cut = Deflated(form, size);
    cut.resize(cut.size() - 5);
    EXPECT_THROW(ReadAndWrite(cut), EReadError);
    const Bytes headOnly(cut.begin(), cut.begin() + 12);
    EXPECT_THROW(ReadAndWrite(headOnly), EReadError);
}
