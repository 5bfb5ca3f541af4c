// Picture blocks: each input is a 7-byte head and then a stored picture block (class name and
// data, as an image list stores it). The block is read; a picture that reads is given to an
// item of an image list on the headless display with the head's pattern geometry, cut into
// patterns, and some of them are drawn on the back buffer with every kind of copy.
// Head: flags (bit 0 system memory, bit 1 transparent), then signed bytes pattern width,
// pattern height, gap width, gap height, then an angle and an opacity for the drawing.
#include "display/DXDraw.h"
#include "display/DXImageList.h"
#include "display/DirectDrawSurface.h"
#include "platform/app/Application.h"
#include "platform/app/Form.h"
#include "platform/headless/HeadlessPlatform.h"

#include <cstddef>
#include <cstdint>
#include <exception>
#include <memory>

namespace {

constexpr std::size_t kHeadBytes = 7;

class Session {
public:
    Session() {
        platform_.EchoErrors = false;
        form_ = &app_.AddForm(std::make_unique<TForm>(app_));
        draw_ = &CreateComponent<TDXDraw>(*form_);
        draw_->SetName("DXDraw");
        draw_->Display.SetBitCount(16);
        draw_->SetOptions(0x348D);
        draw_->SetParent(form_);
        draw_->SetAlign(TAlign::alClient);
        list_ = &CreateComponent<TDXImageList>(*form_);
        list_->SetName("FuzzList");
        list_->SetDXDraw(draw_);
        form_->Show();
    }

    void Run(const uint8_t* data, std::size_t size) {
        if (size < kHeadBytes) {
            return;
        }
        TPicture picture;
        try {
            picture.LoadFromStoredData(data + kHeadBytes, size - kHeadBytes);
        } catch (const std::exception&) {
            return; // refused with the reader's own error
        }
        list_->Items().Clear();
        TPictureCollectionItem& item = list_->Items().Add();
        item.SystemMemory = (data[0] & 1) != 0;
        item.Transparent = (data[0] & 2) != 0;
        item.PatternWidth = static_cast<int8_t>(data[1]);
        item.PatternHeight = static_cast<int8_t>(data[2]);
        item.SkipWidth = static_cast<int8_t>(data[3]);
        item.SkipHeight = static_cast<int8_t>(data[4]);
        item.SetPicture(picture);
        try {
            item.BuildPatterns();
        } catch (const std::exception&) {
            return; // more patterns than an item may have
        }
        const int32_t count = item.PatternCount();
        for (int32_t index : {-1, 0, 1, 2, count - 1, count}) {
            DrawAll(item, index, data[5], data[6]);
        }
    }

private:
    // Every copy of one pattern, placed partly off the back buffer so that clipping is reached too.
    void DrawAll(TPictureCollectionItem& item, int32_t index, int32_t angle, int32_t alpha) {
        TDirectDrawSurface* back = draw_->BackBuffer();
        const int32_t w = item.Width(), h = item.Height();
        item.Draw(back, 600, -10, index);
        item.DrawScaled(back, TRect{-20, 400, 60, 500}, index);
        item.DrawBlended(back, TRect{100, 100, 100 + w, 100 + h}, index, alpha);
        item.DrawTurned(back, 320, 240, w * 2, h, index, 0.5, 0.25, angle);
        item.DrawTurnedBlended(back, 630, 470, w, h * 3, index, 0.0, 1.0, angle, alpha);
    }

    platform::HeadlessPlatform platform_;
    TApplication app_{platform_};
    TForm* form_ = nullptr;
    TDXDraw* draw_ = nullptr;
    TDXImageList* list_ = nullptr;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    static Session session;
    session.Run(data, size);
    return 0;
}
