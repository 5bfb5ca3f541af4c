#pragma once

#include "input/CustomInput.h"
#include "input/KeyboardDevice.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

// Up to three virtual-key codes (0 = none) that set one input state.
using TKeyAssign = std::array<int32_t, 3>;
using TKeyAssignList = std::array<TKeyAssign, kInputStateCount>;

// The keyboard: a snapshot of the held keys by virtual-key code, taken once per poll, and the
// input states that the assignment table derives from it.
class TKeyboard : public TCustomInput {
public:
    // Stored size of the assignment table: 36 records of three little-endian int32 codes.
    static constexpr std::size_t kAssignsDataSize = kInputStateCount * 3 * 4;

    explicit TKeyboard(TCustomDXInput& dxInput);
    ~TKeyboard() override;

    // For each input state, the codes that set it.
    TKeyAssignList Assigns;
    static const TKeyAssignList& DefaultAssigns();

    // Bit 7 of an entry is set when that virtual key was held at the last poll. Entry 0
    // collects the keys that have no virtual-key code.
    const std::array<uint8_t, 256>& KeyTable() const { return keyTable_; }
    // True when 1 <= code <= 255 and the key was held at the last poll.
    bool KeyDown(uint32_t code) const { return code >= 1 && code <= 255 && (keyTable_[code] & 0x80) != 0; }

    // The assignment table as stored with the form.
    std::vector<uint8_t> AssignsData() const;
    // Reads a stored assignment table; a block of any other size is refused with
    // EDXInputError and the table stays as it was.
    void ReadAssignsData(const uint8_t* data, std::size_t size);

    // The platform device; null when the keyboard reads the snapshot without one.
    const TKeyboardDevice* Device() const { return device_.get(); }

    // Virtual-key code of a key code (0 for keys without one).
    static uint8_t VirtualKeyOf(uint8_t keyCode);

    void Initialize() override;
    void Finalize() override;
    void Poll() override;
    void SetCooperativeLevel() override;
    void Acquire() override;

private:
    bool ReadSnapshot(platform::KeyState& keys);

    std::array<uint8_t, 256> keyTable_{};
    std::unique_ptr<TKeyboardDevice> device_;
};
