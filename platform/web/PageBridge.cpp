#include "platform/web/PageBridge.h"

#include <emscripten.h>

// Script bodies: double-quoted strings only and no backslash escapes (emscripten copies them
// into the page's script as they are); the C++ formatter would split their operators.
// clang-format off

EM_JS(void, vk_size_canvas, (int width, int height), {
    var c = (typeof document !== "undefined") ? document.getElementById("screen") : null;
    if (c && (c.width !== width || c.height !== height)) {
        c.width = width;
        c.height = height;
    }
});

EM_JS(void, vk_place_canvas, (int left, int top, int width, int height), {
    var c = (typeof document !== "undefined") ? document.getElementById("screen") : null;
    if (c) {
        c.style.left = left + "px";
        c.style.top = top + "px";
        c.style.width = width + "px";
        c.style.height = height + "px";
    }
});

EM_JS(int, vk_takes_565, (), { return Module.vkScreen.takes565() ? 1 : 0; });
EM_JS(void, vk_put_565, (const uint16_t* pixels, int width, int height), {
    Module.vkScreen.put565(pixels, width, height);
});
EM_JS(void, vk_put_rgba, (const uint8_t* rgba, int width, int height), {
    Module.vkScreen.putRgba(rgba, width, height);
});
EM_JS(int, vk_integer_scale, (), { return Module.vkIntegerScale ? 1 : 0; });

// The page may put its own source of controllers in Module.vkPadSource (the browser test does);
// the browser's are asked for only once one has been connected.
EM_JS(int, vk_read_pads, (double* out, int maxPads), {
    var source = Module.vkPadSource;
    if (!source) {
        if (Module.vkPadsSeen === undefined) {
            Module.vkPadsSeen = false;
            if (typeof window !== "undefined") {
                window.addEventListener("gamepadconnected", function() { Module.vkPadsSeen = true; });
            }
        }
        if (!Module.vkPadsSeen) {
            return 0;
        }
        source = function() { return navigator.getGamepads(); };
    }
    var pads = source();
    var count = Math.min(pads.length, maxPads);
    var at = out >> 3;
    for (var i = 0; i < count; i++, at += 22) {
        var pad = pads[i];
        var usable = pad && pad.connected && pad.mapping === "standard";
        HEAPF64[at] = usable ? 1 : 0;
        for (var b = 0; b < 17; b++) {
            HEAPF64[at + 1 + b] = usable && pad.buttons[b] && pad.buttons[b].pressed ? 1 : 0;
        }
        for (var a = 0; a < 4; a++) {
            HEAPF64[at + 18 + a] = usable && pad.axes.length > a ? pad.axes[a] : 0;
        }
    }
    return count;
});

EM_JS(int, vk_window_width, (), { return (typeof window !== "undefined") ? window.innerWidth : 0; });
EM_JS(int, vk_window_height, (), { return (typeof window !== "undefined") ? window.innerHeight : 0; });
EM_JS(int, vk_page_focused, (), { return (typeof document !== "undefined" && document.hasFocus()) ? 1 : 0; });
EM_JS(int, vk_page_hidden, (), { return (typeof document !== "undefined" && document.hidden) ? 1 : 0; });

EM_JS(void, vk_show_error, (const char* title, const char* message), {
    var t = UTF8ToString(title);
    var m = UTF8ToString(message);
    // The page may say more of a message than the program knows (where its files came from).
    if (typeof Module.vkErrorText === "function") {
        m = Module.vkErrorText(m);
    }
    if (typeof document === "undefined") {
        console.log(t + ": " + m);
        return;
    }
    var box = document.getElementById("error");
    if (!box) {
        box = document.createElement("div");
        box.id = "error";
        var panel = document.createElement("div");
        panel.className = "panel";
        var head = document.createElement("div");
        head.id = "error-title";
        var text = document.createElement("div");
        text.id = "error-message";
        var ok = document.createElement("button");
        ok.id = "error-ok";
        ok.textContent = typeof VkText === "function" ? VkText("ok") : "OK";
        ok.addEventListener(
            "click", function() {
                box.style.display = "none";
                Module.vkErrorOpen = false;
            });
        panel.appendChild(head);
        panel.appendChild(text);
        panel.appendChild(ok);
        box.appendChild(panel);
        document.body.appendChild(box);
    }
    document.getElementById("error-title").textContent = t;
    document.getElementById("error-message").textContent = m;
    box.style.display = "flex";
    Module.vkErrorOpen = true;
    Module.vkErrorCount = (Module.vkErrorCount || 0) + 1;
    document.getElementById("error-ok").focus();
});

EM_JS(int, vk_error_open, (), { return Module.vkErrorOpen ? 1 : 0; });

EM_JS(int, vk_text_context, (), {
    if (Module.vkText) {
        return 1;
    }
    var canvas = null;
    if (typeof OffscreenCanvas !== "undefined") {
        canvas = new OffscreenCanvas(64, 64);
    } else if (typeof document !== "undefined") {
        canvas = document.createElement("canvas");
    }
    // The text's pixels are read back whenever a new text is drawn.
    Module.vkText = canvas ? canvas.getContext("2d", {willReadFrequently : true}) : null;
    return Module.vkText ? 1 : 0;
});

EM_JS(void, vk_measure_text, (const char* text, const char* font, int size, int* out), {
    var g = Module.vkText;
    g.font = UTF8ToString(font);
    var m = g.measureText(UTF8ToString(text));
    var ascent = m.fontBoundingBoxAscent !== undefined ? m.fontBoundingBoxAscent : Math.ceil(size * 0.93);
    var descent = m.fontBoundingBoxDescent !== undefined ? m.fontBoundingBoxDescent : Math.ceil(size * 0.24);
    HEAP32[out >> 2] = Math.ceil(m.width);
    HEAP32[(out >> 2) + 1] = Math.ceil(ascent) + Math.ceil(descent);
    HEAP32[(out >> 2) + 2] = Math.ceil(ascent);
});

EM_JS(void, vk_render_text,
      (const char* text, const char* font, int ascent, int underline, int strikeOut, uint8_t* rgba, int width,
       int height),
      {
          var g = Module.vkText;
          if (g.canvas.width < width || g.canvas.height < height) {
              g.canvas.width = Math.max(g.canvas.width, width);
              g.canvas.height = Math.max(g.canvas.height, height);
          }
          g.clearRect(0, 0, width, height);
          g.font = UTF8ToString(font);
          g.fillStyle = "#ffffff";
          g.textBaseline = "alphabetic";
          g.fillText(UTF8ToString(text), 0, ascent);
          var line = Math.max(1, Math.round(height / 16));
          if (underline) {
              g.fillRect(0, Math.min(ascent + line, height - line), width, line);
          }
          if (strikeOut) {
              g.fillRect(0, Math.round(ascent * 0.65), width, line);
          }
          HEAPU8.set(g.getImageData(0, 0, width, height).data, rgba);
      });

// clang-format on

namespace platform::page {

void SizeCanvas(int width, int height) {
    vk_size_canvas(width, height);
}

void PlaceCanvas(int left, int top, int width, int height) {
    vk_place_canvas(left, top, width, height);
}

bool TakesRgb565() {
    return vk_takes_565() != 0;
}

void PutRgb565(const uint16_t* pixels, int width, int height) {
    vk_put_565(pixels, width, height);
}

void PutRgba(const uint8_t* rgba, int width, int height) {
    vk_put_rgba(rgba, width, height);
}

bool IntegerScale() {
    return vk_integer_scale() != 0;
}

int ReadPads(double* out, int maxPads) {
    return vk_read_pads(out, maxPads);
}

int WindowWidth() {
    return vk_window_width();
}

int WindowHeight() {
    return vk_window_height();
}

bool PageFocused() {
    return vk_page_focused() != 0;
}

bool PageHidden() {
    return vk_page_hidden() != 0;
}

void ShowError(const std::string& title, const std::string& message) {
    vk_show_error(title.c_str(), message.c_str());
}

bool ErrorOpen() {
    return vk_error_open() != 0;
}

bool MeasureText(const std::string& text, const std::string& font, int size, int& width, int& height, int& ascent) {
    if (vk_text_context() == 0) {
        return false;
    }
    int out[3] = {0, 0, 0};
    vk_measure_text(text.c_str(), font.c_str(), size, out);
    width = out[0];
    height = out[1];
    ascent = out[2];
    return true;
}

bool RenderText(const std::string& text, const std::string& font, int ascent, bool underline, bool strikeOut,
                uint8_t* rgba, int width, int height) {
    if (vk_text_context() == 0) {
        return false;
    }
    vk_render_text(text.c_str(), font.c_str(), ascent, underline ? 1 : 0, strikeOut ? 1 : 0, rgba, width, height);
    return true;
}

} // namespace platform::page
