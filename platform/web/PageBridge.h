#pragma once

#include <cstdint>
#include <string>

// The few things the browser back-end asks of the page, each one call into the page's script.
// Outside a page (the unit tests under node) they do nothing and report nothing.
namespace platform::page {

// The screen canvas: its picture size and where it sits in the window, in CSS pixels.
void SizeCanvas(int width, int height);
void PlaceCanvas(int left, int top, int width, int height);
// Whether the screen canvas takes RGB565 frames as they are (with WebGL); otherwise only RGBA.
bool TakesRgb565();
// Puts `width` x `height` pixels, rows packed, on the screen canvas: RGB565 (only when
// TakesRgb565) or RGBA bytes.
void PutRgb565(const uint16_t* pixels, int width, int height);
void PutRgba(const uint8_t* rgba, int width, int height);
// Whether the player chose whole-number scaling of the picture.
bool IntegerScale();

int WindowWidth();
int WindowHeight();
bool PageFocused();
bool PageHidden();

// The browser's game controllers in the standard layout, into `out` (see StandardPadState):
// for each of up to `maxPads` pads, connected, 17 buttons and 4 axes. Returns the pads read.
int ReadPads(double* out, int maxPads);

// The error overlay with its OK button; it stays open until the button is pressed.
void ShowError(const std::string& title, const std::string& message);
bool ErrorOpen();

// Text drawn by the canvas: `font` in CSS form, `size` its pixel height. Measure gives the width, the line height and
// the ascent; Render draws white text with its cell's top-left corner at (0, 0) into a
// width x height RGBA buffer (the alpha byte is the coverage). False when there is no canvas.
bool MeasureText(const std::string& text, const std::string& font, int size, int& width, int& height, int& ascent);
bool RenderText(const std::string& text, const std::string& font, int ascent, bool underline, bool strikeOut,
                uint8_t* rgba, int width, int height);

} // namespace platform::page
