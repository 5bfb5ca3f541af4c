#include "platform/files/Inflate.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <memory>

namespace platform {
namespace {

[[noreturn]] void Fail(const char* what) {
    throw EInflateError(what);
}

// One entry of a decoding table in a 32-bit word:
//   bits 0..3    the code's length in bits (in a link: the index bits of its subtable)
//   bits 4..7    what the code means (Kind)
//   bits 8..11   how many extra bits follow the code
//   bits 16..31  the literal byte, the base length or distance, or the subtable's offset
enum Kind : uint32_t { kLiteral = 0, kLength = 1, kEnd = 2, kLink = 3, kInvalid = 4 };

constexpr uint32_t MakeEntry(uint32_t kind, uint32_t extra, uint32_t value) {
    return value << 16 | extra << 8 | kind << 4;
}
constexpr uint32_t KindOf(uint32_t e) {
    return (e >> 4) & 15;
}
constexpr unsigned LengthOf(uint32_t e) {
    return e & 15;
}
constexpr unsigned ExtraOf(uint32_t e) {
    return (e >> 8) & 15;
}
constexpr uint32_t ValueOf(uint32_t e) {
    return e >> 16;
}

constexpr uint32_t kInvalidEntry = MakeEntry(kInvalid, 0, 0);
constexpr unsigned kMaxCodeLength = 15;

constexpr uint16_t kLengthBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                      31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr uint8_t kLengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                      2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr uint16_t kDistanceBase[30] = {1,    2,    3,    4,    5,    7,    9,    13,    17,    25,
                                        33,   49,   65,   97,   129,  193,  257,  385,   513,   769,
                                        1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr uint8_t kDistanceExtra[30] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                        6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
// The order in which a dynamic block lists the lengths of the code-length code.
constexpr uint8_t kCodeLengthOrder[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};

// What each symbol of the three alphabets means. Symbols 286, 287 and distances 30, 31 may
// appear in a code but never in valid data.
uint32_t LiteralLengthSymbol(unsigned s) {
    if (s < 256) {
        return MakeEntry(kLiteral, 0, s);
    }
    if (s == 256) {
        return MakeEntry(kEnd, 0, 0);
    }
    if (s < 286) {
        return MakeEntry(kLength, kLengthExtra[s - 257], kLengthBase[s - 257]);
    }
    return kInvalidEntry;
}

uint32_t DistanceSymbol(unsigned s) {
    return s < 30 ? MakeEntry(kLength, kDistanceExtra[s], kDistanceBase[s]) : kInvalidEntry;
}

uint32_t CodeLengthSymbol(unsigned s) {
    return MakeEntry(kLiteral, 0, s);
}

unsigned Reverse(unsigned code, unsigned length) {
    unsigned r = 0;
    for (unsigned i = 0; i < length; ++i, code >>= 1) {
        r = (r << 1) | (code & 1);
    }
    return r;
}

// A canonical Huffman code as a two-level table: the first `Primary` bits of the input index
// the main table, whose entry is either the symbol or a link to a subtable indexed by the bits
// after them. Deflate sends codes first bit first, so table indexes are bit-reversed codes.
template <unsigned Primary, std::size_t Capacity> class HuffmanTable {
public:
    // Builds the code of `count` symbols from their lengths (0: unused). An over-subscribed set
    // is refused, and so is an incomplete one but for a single code of length 1 when
    // `singleCodeAllowed` (as deflate allows); a set with no codes at all decodes nothing.
    [[gnu::noinline]] void Build(const uint8_t* lengths, unsigned count, uint32_t (*meaning)(unsigned),
                                 bool singleCodeAllowed) {
        unsigned counts[kMaxCodeLength + 1] = {};
        for (unsigned s = 0; s < count; ++s) {
            ++counts[lengths[s]];
        }
        counts[0] = 0;
        int left = 1;
        unsigned maxLength = 0;
        for (unsigned len = 1; len <= kMaxCodeLength; ++len) {
            left = left * 2 - static_cast<int>(counts[len]);
            if (left < 0) {
                Fail("over-subscribed code lengths");
            }
            if (counts[len] != 0) {
                maxLength = len;
            }
        }
        if (left > 0 && maxLength != 0 && !(singleCodeAllowed && maxLength == 1)) {
            Fail("incomplete code lengths");
        }
        unsigned next[kMaxCodeLength + 2] = {};
        for (unsigned len = 1; len <= kMaxCodeLength; ++len) {
            next[len + 1] = (next[len] + counts[len]) << 1;
        }
        std::fill_n(entries_.begin(), kPrimarySize, kInvalidEntry);
        std::size_t used = kPrimarySize;
        unsigned longCount = 0;
        unsigned longSymbols[320];
        unsigned longCodes[320];
        for (unsigned s = 0; s < count; ++s) {
            const unsigned len = lengths[s];
            if (len == 0) {
                continue;
            }
            const unsigned code = next[len]++;
            if (len <= Primary) {
                const uint32_t entry = meaning(s) | len;
                for (unsigned i = Reverse(code, len); i < kPrimarySize; i += 1u << len) {
                    entries_[i] = entry;
                }
            } else {
                longSymbols[longCount] = s;
                longCodes[longCount++] = code;
            }
        }
        if (longCount == 0) {
            return;
        }
        // A subtable per first-Primary-bits prefix, as deep as the longest code behind it.
        uint8_t deepest[kPrimarySize] = {};
        for (unsigned i = 0; i < longCount; ++i) {
            const unsigned len = lengths[longSymbols[i]];
            uint8_t& d = deepest[longCodes[i] >> (len - Primary)];
            d = static_cast<uint8_t>(std::max<unsigned>(d, len - Primary));
        }
        for (unsigned i = 0; i < longCount; ++i) {
            const unsigned len = lengths[longSymbols[i]];
            const unsigned prefix = longCodes[i] >> (len - Primary);
            uint32_t& link = entries_[Reverse(prefix, Primary)];
            if (KindOf(link) != kLink) {
                const unsigned bits = deepest[prefix];
                if (used + (std::size_t{1} << bits) > Capacity) {
                    Fail("code table overflow");
                }
                link = MakeEntry(kLink, 0, static_cast<uint32_t>(used)) | bits;
                std::fill_n(entries_.begin() + static_cast<std::ptrdiff_t>(used), std::size_t{1} << bits,
                            kInvalidEntry);
                used += std::size_t{1} << bits;
            }
            const unsigned tail = len - Primary;
            const uint32_t entry = meaning(longSymbols[i]) | len;
            uint32_t* sub = entries_.data() + ValueOf(link);
            for (unsigned j = Reverse(longCodes[i] & ((1u << tail) - 1), tail); j < (1u << LengthOf(link));
                 j += 1u << tail) {
                sub[j] = entry;
            }
        }
    }

    // The entry of the code at the bottom of `bits`, which must hold at least 15 valid bits.
    uint32_t Decode(uint64_t bits) const {
        uint32_t e = entries_[bits & (kPrimarySize - 1)];
        if (KindOf(e) == kLink) {
            e = entries_[ValueOf(e) + ((bits >> Primary) & ((1u << LengthOf(e)) - 1))];
        }
        return e;
    }

private:
    static constexpr std::size_t kPrimarySize = std::size_t{1} << Primary;
    std::array<uint32_t, Capacity> entries_;
};

// Each prefix's subtable has at most 2^(15 - Primary) entries, and there are no more
// subtables than symbols with long codes.
using LiteralLengthTable = HuffmanTable<10, 1024 + 288 * 32>;
using DistanceTable = HuffmanTable<8, 256 + 32 * 128>;
using CodeLengthTable = HuffmanTable<7, 128>;

// Eight input bytes, the first in the lowest bits.
uint64_t Load64(const uint8_t* p) {
    if constexpr (std::endian::native == std::endian::little) {
        uint64_t v;
        std::memcpy(&v, p, sizeof v);
        return v;
    } else {
        uint64_t v = 0;
        for (int i = 7; i >= 0; --i) {
            v = (v << 8) | p[i];
        }
        return v;
    }
}

// The decoder's state. The bit buffer holds `bits` valid bits at its bottom (the bits above
// may hold the next input byte, as the word-wide refill leaves it). Past the end of the input it
// is filled with zero bits counted in `pad`: a decoder that consumes one of them has read past
// the end, which is caught at the next refill or at the end of the block.
// The per-block steps are kept out of line: a browser's wasm engine optimises a function only
// for its later calls, so the block decoder and the table builder, called once per block, get
// their optimised code for the later blocks, while the driver, called once, stays small.
class Inflater {
public:
    Inflater(const uint8_t* in, std::size_t inSize, uint8_t* out, std::size_t outSize)
        : in_(in), inSize_(inSize), begin_(out), end_(out + outSize), out_(out) {}

    void Run() {
        ReadHead();
        bool final = false;
        while (!final) {
            Refill();
            final = (buf_ & 1) != 0;
            const unsigned type = (buf_ >> 1) & 3;
            Drop(3);
            switch (type) {
            case 0:
                CopyStored();
                break;
            case 1:
                BuildFixed();
                DecodeBlock();
                break;
            case 2:
                BuildDynamic();
                DecodeBlock();
                break;
            default:
                Fail("invalid block type");
            }
        }
        ReadTail();
    }

private:
    void Drop(unsigned n) {
        buf_ >>= n;
        bits_ -= n;
    }

    // At least 56 valid (or padding) bits in the buffer.
    void Refill() {
        if (inSize_ - pos_ >= 8) {
            buf_ |= Load64(in_ + pos_) << bits_;
            pos_ += (63 - bits_) >> 3;
            bits_ |= 56;
            return;
        }
        if (bits_ < pad_) {
            Fail("stream is truncated");
        }
        while (bits_ <= 56) {
            uint64_t byte = 0;
            if (pos_ < inSize_) {
                byte = in_[pos_++];
            } else {
                pad_ += 8;
            }
            buf_ |= byte << bits_;
            bits_ += 8;
        }
    }

    // Skips to the next byte boundary and hands the whole bytes still in the buffer back to
    // the input, for the byte-wise reads of stored blocks and the checksum.
    void AlignToByte() {
        Drop(bits_ & 7);
        if (bits_ < pad_) {
            Fail("stream is truncated");
        }
        pos_ -= (bits_ - pad_) / 8;
        buf_ = 0;
        bits_ = 0;
        pad_ = 0;
    }

    void ReadHead() {
        if (inSize_ < 2) {
            Fail("stream is truncated");
        }
        const unsigned cmf = in_[0];
        const unsigned flg = in_[1];
        if ((cmf & 15) != 8 || (cmf >> 4) > 7) {
            Fail("not a deflate stream");
        }
        if ((cmf << 8 | flg) % 31 != 0) {
            Fail("bad header check");
        }
        if (flg & 0x20) {
            Fail("preset dictionaries are not supported");
        }
        pos_ = 2;
    }

    [[gnu::noinline]] void ReadTail() {
        AlignToByte();
        if (inSize_ - pos_ < 4) {
            Fail("stream is truncated");
        }
        if (out_ != end_) {
            Fail("stream ends short of the expected size");
        }
        const uint8_t* p = in_ + pos_;
        const uint32_t expected = uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
        if (Adler32(begin_, static_cast<std::size_t>(end_ - begin_)) != expected) {
            Fail("checksum mismatch");
        }
        if (pos_ + 4 != inSize_) {
            Fail("bytes after the end of the stream");
        }
    }

    [[gnu::noinline]] void CopyStored() {
        AlignToByte();
        if (inSize_ - pos_ < 4) {
            Fail("stream is truncated");
        }
        const uint8_t* p = in_ + pos_;
        const std::size_t length = p[0] | p[1] << 8;
        if (length != ((p[2] | p[3] << 8) ^ 0xffffu)) {
            Fail("stored block length check");
        }
        pos_ += 4;
        if (length > inSize_ - pos_) {
            Fail("stream is truncated");
        }
        if (length > static_cast<std::size_t>(end_ - out_)) {
            Fail("output overrun");
        }
        // An empty output may have no buffer at all, and memcpy wants one even for no bytes.
        if (length > 0) {
            std::memcpy(out_, in_ + pos_, length);
            out_ += length;
            pos_ += length;
        }
    }

    [[gnu::noinline]] void BuildFixed() {
        uint8_t lengths[288];
        std::fill_n(lengths, 144, 8);
        std::fill_n(lengths + 144, 112, 9);
        std::fill_n(lengths + 256, 24, 7);
        std::fill_n(lengths + 280, 8, 8);
        literals_.Build(lengths, 288, LiteralLengthSymbol, false);
        std::fill_n(lengths, 32, 5);
        distances_.Build(lengths, 32, DistanceSymbol, false);
    }

    [[gnu::noinline]] void BuildDynamic() {
        Refill();
        const unsigned literalCount = static_cast<unsigned>(buf_ & 31) + 257;
        const unsigned distanceCount = static_cast<unsigned>((buf_ >> 5) & 31) + 1;
        const unsigned codeLengthCount = static_cast<unsigned>((buf_ >> 10) & 15) + 4;
        Drop(14);
        if (literalCount > 286 || distanceCount > 30) {
            Fail("too many length or distance codes");
        }
        uint8_t codeLengths[19] = {};
        for (unsigned i = 0; i < codeLengthCount; ++i) {
            if (bits_ < 3) {
                Refill();
            }
            codeLengths[kCodeLengthOrder[i]] = static_cast<uint8_t>(buf_ & 7);
            Drop(3);
        }
        CodeLengthTable codeLengthTable;
        codeLengthTable.Build(codeLengths, 19, CodeLengthSymbol, false);

        uint8_t lengths[286 + 30];
        const unsigned total = literalCount + distanceCount;
        unsigned n = 0;
        while (n < total) {
            Refill();
            const uint32_t e = codeLengthTable.Decode(buf_);
            if (KindOf(e) != kLiteral) {
                Fail("invalid code-length code");
            }
            Drop(LengthOf(e));
            const unsigned symbol = ValueOf(e);
            if (symbol < 16) {
                lengths[n++] = static_cast<uint8_t>(symbol);
                continue;
            }
            uint8_t value = 0;
            unsigned repeat = 0;
            if (symbol == 16) {
                if (n == 0) {
                    Fail("length repeated before any length");
                }
                value = lengths[n - 1];
                repeat = 3 + static_cast<unsigned>(buf_ & 3);
                Drop(2);
            } else if (symbol == 17) {
                repeat = 3 + static_cast<unsigned>(buf_ & 7);
                Drop(3);
            } else {
                repeat = 11 + static_cast<unsigned>(buf_ & 127);
                Drop(7);
            }
            if (repeat > total - n) {
                Fail("lengths repeated past their count");
            }
            std::fill_n(lengths + n, repeat, value);
            n += repeat;
        }
        if (lengths[256] == 0) {
            Fail("no end-of-block code");
        }
        literals_.Build(lengths, literalCount, LiteralLengthSymbol, true);
        distances_.Build(lengths + literalCount, distanceCount, DistanceSymbol, true);
    }

    // The hot loop: works on local copies of the state, since every byte written through
    // `out` could otherwise alias the members and force them back to memory.
    [[gnu::noinline]] void DecodeBlock() {
        const uint8_t* const in = in_;
        const std::size_t inSize = inSize_;
        uint8_t* const begin = begin_;
        uint8_t* const end = end_;
        uint64_t buf = buf_;
        unsigned bits = bits_;
        std::size_t pos = pos_;
        uint8_t* out = out_;
        for (;;) {
            // 48 bits cover a whole length-distance pair (15 + 5 + 15 + 13 bits), so a refill
            // serves two or three literals in a row.
            if (bits < 48) {
                if (inSize - pos >= 8) {
                    buf |= Load64(in + pos) << bits;
                    pos += (63 - bits) >> 3;
                    bits |= 56;
                } else {
                    buf_ = buf;
                    bits_ = bits;
                    pos_ = pos;
                    Refill();
                    buf = buf_;
                    bits = bits_;
                    pos = pos_;
                }
            }
            uint32_t e = literals_.Decode(buf);
            buf >>= LengthOf(e);
            bits -= LengthOf(e);
            if (KindOf(e) == kLiteral) {
                if (out == end) {
                    Fail("output overrun");
                }
                *out++ = static_cast<uint8_t>(ValueOf(e));
                continue;
            }
            if (KindOf(e) != kLength) {
                if (KindOf(e) == kEnd) {
                    break;
                }
                Fail("invalid literal/length code");
            }
            unsigned extra = ExtraOf(e);
            const std::size_t length = ValueOf(e) + static_cast<std::size_t>(buf & ((1u << extra) - 1));
            buf >>= extra;
            bits -= extra;
            e = distances_.Decode(buf);
            if (KindOf(e) != kLength) {
                Fail("invalid distance code");
            }
            buf >>= LengthOf(e);
            bits -= LengthOf(e);
            extra = ExtraOf(e);
            const std::size_t distance = ValueOf(e) + static_cast<std::size_t>(buf & ((1u << extra) - 1));
            buf >>= extra;
            bits -= extra;
            if (distance > static_cast<std::size_t>(out - begin)) {
                Fail("distance too far back");
            }
            const std::size_t room = static_cast<std::size_t>(end - out);
            if (length > room) {
                Fail("output overrun");
            }
            out = CopyMatch(out, distance, length, room);
        }
        buf_ = buf;
        bits_ = bits;
        pos_ = pos;
        out_ = out;
    }

    // Copies `length` bytes from `distance` back; `room` bytes are free from `out` on. With a
    // distance of 8 or more, whole 8-byte words never overlap their source, and the last word
    // may run up to 7 bytes past the match when there is room for it.
    static uint8_t* CopyMatch(uint8_t* out, std::size_t distance, std::size_t length, std::size_t room) {
        const uint8_t* src = out - distance;
        uint8_t* const stop = out + length;
        if (distance >= 16 && room >= length + 16) {
            // Most matches are short: one 16-byte copy covers them without a loop.
            std::memcpy(out, src, 16);
            for (std::size_t i = 16; i < length; i += 16) {
                std::memcpy(out + i, src + i, 16);
            }
        } else if (distance >= 8 && room >= length + 8) {
            do {
                std::memcpy(out, src, 8);
                out += 8;
                src += 8;
            } while (out < stop);
        } else if (distance == 1) {
            std::memset(out, *src, length);
        } else if (room >= length + 8) {
            // A short repeating pattern (a run of 16-bit pixels has distance 2): its first 8
            // bytes one by one, then words from a whole number of patterns back, 8 or more.
            for (int i = 0; i < 8; ++i) {
                out[i] = src[i];
            }
            const std::size_t step = (8 + distance - 1) / distance * distance;
            for (std::size_t i = 8; i < length; i += 8) {
                std::memcpy(out + i, out + i - step, 8);
            }
        } else {
            for (; out < stop; ++out, ++src) {
                *out = *src;
            }
        }
        return stop;
    }

    const uint8_t* in_;
    std::size_t inSize_;
    std::size_t pos_ = 0;
    uint64_t buf_ = 0;
    unsigned bits_ = 0;
    unsigned pad_ = 0;
    uint8_t* const begin_;
    uint8_t* const end_;
    uint8_t* out_;
    LiteralLengthTable literals_;
    DistanceTable distances_;
};

} // namespace

void InflateInto(const uint8_t* data, std::size_t size, uint8_t* out, std::size_t outSize) {
    // The tables take some 56 KB: on the heap, not on a small (web) stack.
    auto inflater = std::make_unique<Inflater>(data, size, out, outSize);
    inflater->Run();
}

std::vector<uint8_t> Inflate(const uint8_t* data, std::size_t size, std::size_t outSize) {
    std::vector<uint8_t> out(outSize);
    InflateInto(data, size, out.data(), out.size());
    return out;
}

uint32_t Adler32(const uint8_t* data, std::size_t size, uint32_t adler) {
    constexpr uint32_t kBase = 65521;
    // 5552 bytes is the most that can be summed before the 32-bit sums may overflow.
    constexpr std::size_t kBlock = 5552;
    uint32_t a = adler & 0xffff;
    uint32_t b = adler >> 16;
    while (size > 0) {
        const std::size_t n = std::min(size, kBlock);
        // In 16-byte groups the two sums have no chain from byte to byte, which lets the
        // compiler vectorise them: b gains 16 times a, plus each byte times its weight 16..1.
        std::size_t i = 0;
        for (; i + 16 <= n; i += 16) {
            uint32_t sum = 0;
            uint32_t weighted = 0;
            for (uint32_t k = 0; k < 16; ++k) {
                sum += data[i + k];
                weighted += (16 - k) * data[i + k];
            }
            b += 16 * a + weighted;
            a += sum;
        }
        for (; i < n; ++i) {
            a += data[i];
            b += a;
        }
        a %= kBase;
        b %= kBase;
        data += n;
        size -= n;
    }
    return b << 16 | a;
}

} // namespace platform
