#include "demo/DemoFrames.h"

namespace {

// Unsigned numbers take 7 bits a byte, the high bit telling that another byte follows.
void PutNumber(std::vector<uint8_t>& out, uint32_t value) {
    while (value >= 0x80) {
        out.push_back(static_cast<uint8_t>(value | 0x80));
        value >>= 7;
    }
    out.push_back(static_cast<uint8_t>(value));
}

// Signed numbers are folded so that small magnitudes of either sign stay short.
void PutSigned(std::vector<uint8_t>& out, int value) {
    const auto v = static_cast<uint32_t>(value);
    PutNumber(out, (v << 1) ^ (value < 0 ? 0xffffffffu : 0u));
}

uint32_t GetNumber(const std::vector<uint8_t>& in, std::size_t& offset) {
    uint32_t value = 0;
    for (int shift = 0;; shift += 7) {
        const uint8_t byte = in[offset++];
        value |= static_cast<uint32_t>(byte & 0x7f) << shift;
        if ((byte & 0x80) == 0) {
            return value;
        }
    }
}

int GetSigned(const std::vector<uint8_t>& in, std::size_t& offset) {
    const uint32_t folded = GetNumber(in, offset);
    return static_cast<int>((folded >> 1) ^ (0u - (folded & 1)));
}

// How many of A, B, C an input of each kind carries.
int ValuesOf(DemoInput::Kind kind) {
    using Kind = DemoInput::Kind;
    switch (kind) {
    case Kind::KeyDown:
    case Kind::KeyUp:
    case Kind::Foreground:
        return 1;
    case Kind::MouseMove:
        return 2;
    case Kind::MouseDown:
    case Kind::MouseUp:
        return 3;
    default:
        return 0;
    }
}

} // namespace

DemoFrames::DemoFrames(std::initializer_list<DemoFrame> frames) {
    for (const DemoFrame& frame : frames) {
        push_back(frame);
    }
}

void DemoFrames::clear() {
    *this = DemoFrames();
}

void DemoFrames::push_back(const DemoFrame& frame) {
    frameCount_ += frame.Repeat;
    const bool run = frame.Inputs.empty();
    if (run && lastIsRun_ && count_ > 0 && frame.Delta == lastDelta_ &&
        uint64_t{lastRepeat_} + frame.Repeat <= UINT32_MAX) {
        // The run grows: the last frame is written again with its new count.
        bytes_.resize(lastOffset_);
        lastRepeat_ += frame.Repeat;
        PutNumber(bytes_, lastDelta_);
        PutNumber(bytes_, lastRepeat_);
        PutNumber(bytes_, 0);
        return;
    }
    if (count_ % kMarkEvery == 0) {
        marks_.push_back(bytes_.size());
    }
    lastOffset_ = bytes_.size();
    lastIsRun_ = run;
    lastDelta_ = frame.Delta;
    lastRepeat_ = frame.Repeat;
    ++count_;
    Append(frame);
}

void DemoFrames::Append(const DemoFrame& frame) {
    PutNumber(bytes_, frame.Delta);
    PutNumber(bytes_, frame.Repeat);
    PutNumber(bytes_, static_cast<uint32_t>(frame.Inputs.size()));
    for (const DemoInput& input : frame.Inputs) {
        bytes_.push_back(static_cast<uint8_t>(input.What));
        const int values[] = {input.A, input.B, input.C};
        for (int i = 0; i < ValuesOf(input.What); ++i) {
            PutSigned(bytes_, values[i]);
        }
    }
}

std::size_t DemoFrames::Decode(std::size_t offset, DemoFrame& frame) const {
    frame.Delta = GetNumber(bytes_, offset);
    frame.Repeat = GetNumber(bytes_, offset);
    frame.Inputs.resize(GetNumber(bytes_, offset));
    for (DemoInput& input : frame.Inputs) {
        input = DemoInput{static_cast<DemoInput::Kind>(bytes_[offset++])};
        int* values[] = {&input.A, &input.B, &input.C};
        for (int i = 0; i < ValuesOf(input.What); ++i) {
            *values[i] = GetSigned(bytes_, offset);
        }
    }
    return offset;
}

DemoFrame DemoFrames::operator[](std::size_t index) const {
    std::size_t offset = static_cast<std::size_t>(marks_[index / kMarkEvery]);
    DemoFrame frame;
    for (std::size_t i = index - index % kMarkEvery; i <= index; ++i) {
        offset = Decode(offset, frame);
    }
    return frame;
}

DemoFrames::Iterator DemoFrames::begin() const {
    return Iterator(*this, 0);
}

DemoFrames::Iterator DemoFrames::end() const {
    return Iterator(*this, bytes_.size());
}

DemoFrames::Iterator::Iterator(const DemoFrames& frames, std::size_t offset)
    : frames_(&frames), offset_(offset), next_(offset) {
    if (offset_ < frames_->bytes_.size()) {
        next_ = frames_->Decode(offset_, frame_);
    }
}

DemoFrames::Iterator& DemoFrames::Iterator::operator++() {
    offset_ = next_;
    if (offset_ < frames_->bytes_.size()) {
        next_ = frames_->Decode(offset_, frame_);
    }
    return *this;
}

DemoFrames::Iterator DemoFrames::Iterator::operator++(int) {
    Iterator before = *this;
    ++*this;
    return before;
}
