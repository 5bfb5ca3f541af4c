#include "platform/pixels/CommonModes.h"

namespace platform {

std::vector<DisplayMode> CommonDisplayModes() {
    const DisplayMode sizes[] = {{320, 200, 0},  {320, 240, 0},  {400, 300, 0},  {512, 384, 0},
                                 {640, 400, 0},  {640, 480, 0},  {800, 600, 0},  {1024, 768, 0},
                                 {1152, 864, 0}, {1280, 960, 0}, {1280, 1024, 0}};
    std::vector<DisplayMode> modes;
    for (const auto& s : sizes) {
        for (int bits : {8, 16, 24, 32}) {
            modes.push_back(DisplayMode{s.Width, s.Height, bits});
        }
    }
    return modes;
}

} // namespace platform
