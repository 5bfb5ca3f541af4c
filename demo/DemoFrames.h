#pragma once

#include "demo/DemoFrame.h"

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <vector>

// The frames of a demo, packed into a few bytes each (a frame line of the text never takes more
// room here than in the file), so that a demo read into memory stays within a small multiple of
// its size. A frame without input that follows one with the same clock step only adds to its
// repeat count. Frames are read back in order through the iterators, or by index.
class DemoFrames {
public:
    class Iterator;

    DemoFrames() = default;
    DemoFrames(std::initializer_list<DemoFrame> frames);

    void push_back(const DemoFrame& frame);
    void clear();

    // Stored frames (a run of repeats is one), and the frames they stand for.
    std::size_t size() const { return count_; }
    bool empty() const { return count_ == 0; }
    uint64_t FrameCount() const { return frameCount_; }

    // The stored frame at `index` (< size()).
    DemoFrame operator[](std::size_t index) const;
    Iterator begin() const;
    Iterator end() const;

    bool operator==(const DemoFrames& other) const { return bytes_ == other.bytes_; }

private:
    friend class Iterator;
    // Every kMarkEvery-th frame's offset is kept, so that an index is a short walk away.
    static constexpr std::size_t kMarkEvery = 16;

    void Append(const DemoFrame& frame);
    // Decodes the frame at `offset` into `frame`; returns the offset after it.
    std::size_t Decode(std::size_t offset, DemoFrame& frame) const;

    std::vector<uint8_t> bytes_;
    std::vector<uint64_t> marks_;
    std::size_t count_ = 0;
    uint64_t frameCount_ = 0;
    // The last frame: where it starts, and whether a run without input may grow it.
    std::size_t lastOffset_ = 0;
    bool lastIsRun_ = false;
    uint32_t lastDelta_ = 0;
    uint32_t lastRepeat_ = 0;
};

// Walks the frames in order, decoding each once.
class DemoFrames::Iterator {
public:
    using iterator_category = std::input_iterator_tag;
    using value_type = DemoFrame;
    using difference_type = std::ptrdiff_t;
    using pointer = const DemoFrame*;
    using reference = const DemoFrame&;

    Iterator() = default;
    const DemoFrame& operator*() const { return frame_; }
    const DemoFrame* operator->() const { return &frame_; }
    Iterator& operator++();
    Iterator operator++(int);
    bool operator==(const Iterator& other) const { return offset_ == other.offset_; }

private:
    friend class DemoFrames;
    Iterator(const DemoFrames& frames, std::size_t offset);

    const DemoFrames* frames_ = nullptr;
    std::size_t offset_ = 0;
    std::size_t next_ = 0;
    DemoFrame frame_;
};
