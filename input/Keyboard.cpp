#include "input/Keyboard.h"

#include "input/DXInput.h"
#include "input/DXInputError.h"

#include <utility>

namespace {

// Key code (keyboard position) to virtual-key code. Punctuation keys give the character
// code of their symbol, so some share a code with another key: the apostrophe reads as the
// right arrow (39), the period as delete (46), the brackets as the system keys (91, 93). The
// Pause key (197) reads as 19, which no assignment of the stored form uses.
constexpr std::pair<uint8_t, uint8_t> kVirtualKeys[] = {
    {1, 27},   {2, 49},   {3, 50},   {4, 51},   {5, 52},   {6, 53},    {7, 54},   {8, 55},   {9, 56},   {10, 57},
    {11, 48},  {13, 61},  {14, 8},   {15, 9},   {16, 81},  {17, 87},   {18, 69},  {19, 82},  {20, 84},  {21, 89},
    {22, 85},  {23, 73},  {24, 79},  {25, 80},  {26, 91},  {27, 93},   {28, 13},  {29, 17},  {30, 65},  {31, 83},
    {32, 68},  {33, 70},  {34, 71},  {35, 72},  {36, 74},  {37, 75},   {38, 76},  {39, 59},  {40, 39},  {42, 16},
    {43, 92},  {44, 90},  {45, 88},  {46, 67},  {47, 86},  {48, 66},   {49, 78},  {50, 77},  {51, 44},  {52, 46},
    {53, 47},  {54, 16},  {55, 42},  {56, 18},  {57, 32},  {58, 20},   {59, 112}, {60, 113}, {61, 114}, {62, 115},
    {63, 116}, {64, 117}, {65, 118}, {66, 119}, {67, 120}, {68, 121},  {69, 144}, {70, 145}, {71, 103}, {72, 104},
    {73, 105}, {74, 109}, {75, 100}, {76, 101}, {77, 102}, {78, 107},  {79, 97},  {80, 98},  {81, 99},  {82, 96},
    {83, 110}, {87, 122}, {88, 123}, {156, 13}, {157, 17}, {181, 111}, {184, 18}, {197, 19}, {199, 36}, {200, 38},
    {201, 33}, {203, 37}, {205, 39}, {207, 35}, {208, 40}, {209, 34},  {210, 45}, {211, 46}, {219, 91}, {220, 92},
    {221, 93},
};

constexpr std::array<uint8_t, 256> MakeVirtualKeyTable() {
    std::array<uint8_t, 256> table{};
    for (const auto& [key, vk] : kVirtualKeys) {
        table[key] = vk;
    }
    return table;
}

constexpr std::array<uint8_t, 256> kVirtualKeyTable = MakeVirtualKeyTable();

TKeyAssignList MakeDefaultAssigns() {
    TKeyAssignList a{};
    a[StateBit(TInputState::Up)] = {75, 38, 104};
    a[StateBit(TInputState::Down)] = {74, 40, 98};
    a[StateBit(TInputState::Left)] = {72, 37, 100};
    a[StateBit(TInputState::Right)] = {76, 39, 102};
    a[StateBit(TInputState::Button1)] = {90, 32, 0};
    a[StateBit(TInputState::Button2)] = {88, 13, 0};
    a[StateBit(TInputState::Button9)] = {113, 0, 0};
    return a;
}

} // namespace

TKeyboard::TKeyboard(TCustomDXInput& dxInput) : TCustomInput(dxInput), Assigns(DefaultAssigns()) {}

TKeyboard::~TKeyboard() = default;

const TKeyAssignList& TKeyboard::DefaultAssigns() {
    static const TKeyAssignList assigns = MakeDefaultAssigns();
    return assigns;
}

uint8_t TKeyboard::VirtualKeyOf(uint8_t keyCode) {
    return kVirtualKeyTable[keyCode];
}

std::vector<uint8_t> TKeyboard::AssignsData() const {
    std::vector<uint8_t> data;
    data.reserve(kAssignsDataSize);
    for (const TKeyAssign& record : Assigns) {
        for (int32_t code : record) {
            const auto value = static_cast<uint32_t>(code);
            for (int shift = 0; shift < 32; shift += 8) {
                data.push_back(static_cast<uint8_t>(value >> shift));
            }
        }
    }
    return data;
}

void TKeyboard::ReadAssignsData(const uint8_t* data, std::size_t size) {
    if (data == nullptr || size != kAssignsDataSize) {
        throw EDXInputError(FormatMessage("Key assignment data must be 432 bytes, not %d", static_cast<long>(size)));
    }
    TKeyAssignList read{};
    for (TKeyAssign& record : read) {
        for (int32_t& code : record) {
            const uint32_t value = data[0] | (data[1] << 8) | (data[2] << 16) | (static_cast<uint32_t>(data[3]) << 24);
            code = static_cast<int32_t>(value);
            data += 4;
        }
    }
    Assigns = read;
}

void TKeyboard::Initialize() {
    if (!Enabled) {
        return;
    }
    if (platform::Platform* directInput = dxInput_.DirectInput()) {
        device_ = std::make_unique<TKeyboardDevice>(*directInput);
    }
    initialized_ = true;
}

void TKeyboard::Finalize() {
    keyTable_.fill(0);
    device_.reset();
    TCustomInput::Finalize();
}

void TKeyboard::SetCooperativeLevel() {
    if (device_) {
        device_->SetCooperativeLevel(CooperativeLevelFlags());
    }
}

void TKeyboard::Acquire() {
    if (device_) {
        device_->Acquire();
    }
}

bool TKeyboard::ReadSnapshot(platform::KeyState& keys) {
    if (!device_) {
        dxInput_.Platform().GetKeyState(keys);
        return true;
    }
    TDeviceReadResult result = device_->GetDeviceState(keys);
    if (result == TDeviceReadResult::NotAcquired || result == TDeviceReadResult::InputLost) {
        device_->Acquire();
        result = device_->GetDeviceState(keys);
    }
    return result == TDeviceReadResult::Ok;
}

void TKeyboard::Poll() {
    keyTable_.fill(0);
    deviceStates_.reset();
    if (!initialized_ || (dxInput_.ActiveOnly() && !dxInput_.OwnerFormInFront())) {
        return;
    }
    // The snapshot is by key position, with or without a device; a failed read leaves every key up.
    platform::KeyState keys{};
    if (!ReadSnapshot(keys)) {
        return;
    }
    for (std::size_t code = 0; code < keys.size(); ++code) {
        if ((keys[code] & 0x80) != 0) {
            keyTable_[kVirtualKeyTable[code]] = 0x80;
        }
    }
    for (int state = 0; state < kInputStateCount; ++state) {
        for (int32_t code : Assigns[static_cast<std::size_t>(state)]) {
            if (KeyDown(static_cast<uint32_t>(code))) {
                deviceStates_.set(static_cast<std::size_t>(state));
                break;
            }
        }
    }
}
