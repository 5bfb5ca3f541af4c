#pragma once

#include "display/DXDraw.h"
#include "display/DirectDraw.h"
#include "display/DirectDrawSurface.h"
#include "platform/app/Application.h"
#include "platform/app/Form.h"
#include "platform/headless/HeadlessPlatform.h"

#include <gtest/gtest.h>

#include <memory>

// A headless application with a form holding a display control set up as the game's:
// 640x480 at 16 bits, full screen, waiting for the vertical blank.
class DisplayFixture : public ::testing::Test {
protected:
    DisplayFixture() {
        platform.EchoErrors = false;
        form = &app.AddForm(std::make_unique<TForm>(app));
        draw = &CreateComponent<TDXDraw>(*form);
        draw->SetName("DXDraw");
        draw->Display.SetBitCount(16);
        draw->SetOptions(0x348D);
        draw->SetParent(form);
        draw->SetAlign(TAlign::alClient);
    }

    // Shows the form, which initialises the display.
    void Show() { form->Show(); }

    TDirectDrawSurface& Back() { return *draw->BackBuffer(); }

    // A fresh off-screen surface of the display, w by h, filled with values that say where each pixel is.
    std::unique_ptr<TDirectDrawSurface> Pattern(int w, int h) {
        auto s = std::make_unique<TDirectDrawSurface>(draw->DDraw());
        s->Allocate(w, h);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                s->SetPixel(x, y, static_cast<uint32_t>(1 + x + y * w));
            }
        }
        return s;
    }

    platform::HeadlessPlatform platform;
    TApplication app{platform};
    TForm* form = nullptr;
    TDXDraw* draw = nullptr;
};
