// Key-assignment blocks: each input is the block as the form stores it ("Keyboard.Assigns",
// 432 bytes when sound), followed by key codes (keyboard positions) to hold. A block that reads
// becomes the keyboard's table; the keys are held and polled twice, so that the states are
// worked out from the stored codes, however odd, and then released.
#include "input/DXInput.h"
#include "input/Keyboard.h"
#include "platform/app/Application.h"
#include "platform/app/Form.h"
#include "platform/headless/HeadlessPlatform.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <memory>

namespace {

class Session {
public:
    Session() {
        platform_.EchoErrors = false;
        input_.BeginLoading();
        input_.Joystick().Enabled = false;
        input_.Mouse().Enabled = false;
        input_.Loaded();
    }

    void Run(const uint8_t* data, std::size_t size) {
        TKeyboard& keyboard = input_.Keyboard();
        const std::size_t block = std::min(size, TKeyboard::kAssignsDataSize);
        try {
            keyboard.ReadAssignsData(data, block);
        } catch (const std::exception&) {
            return; // refused with the input unit's own error
        }
        platform_.Keys.fill(0);
        for (std::size_t i = block; i < size; ++i) {
            platform_.PressKey(data[i]);
        }
        input_.Poll();
        for (const auto& record : keyboard.Assigns) {
            for (int32_t code : record) {
                keyboard.KeyDown(static_cast<uint32_t>(code));
            }
        }
        platform_.Keys.fill(0);
        input_.Poll();
        keyboard.Assigns = TKeyboard::DefaultAssigns();
    }

private:
    platform::HeadlessPlatform platform_;
    TApplication app_{platform_};
    TForm& form_ = app_.AddForm(std::make_unique<TForm>(app_));
    TDXInput& input_ = CreateComponent<TDXInput>(form_);
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    static Session session;
    session.Run(data, size);
    return 0;
}
