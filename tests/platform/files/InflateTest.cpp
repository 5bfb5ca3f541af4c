#include "platform/files/Inflate.h"
#include "platform/files/RegularFile.h"
#include "platform/files/ResourceLimits.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

using platform::EInflateError;
using platform::Inflate;

namespace {

using Bytes = std::vector<uint8_t>;

// A zlib stream of `data` made by zlib itself, with a chosen level and strategy.
Bytes Deflate(const Bytes& data, int level, int strategy = Z_DEFAULT_STRATEGY) {
    z_stream z{};
    EXPECT_EQ(deflateInit2(&z, level, Z_DEFLATED, 15, 9, strategy), Z_OK);
    Bytes out(deflateBound(&z, data.size()) + 64);
    z.next_in = const_cast<Bytes::value_type*>(data.data());
    z.avail_in = static_cast<uInt>(data.size());
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    EXPECT_EQ(deflate(&z, Z_FINISH), Z_STREAM_END);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

// Text-like runs, random bytes and long repeats, so every kind of block and match turns up.
Bytes Sample(std::size_t size, unsigned seed) {
    std::mt19937 rng(seed);
    const std::string words[] = {"orb ", "mine ", "ship ", "level ", "score ", "\n", "energy "};
    Bytes out;
    while (out.size() < size) {
        switch (rng() % 4) {
        case 0:
            for (const auto& w = words[rng() % 7]; char c : w) {
                out.push_back(static_cast<uint8_t>(c));
            }
            break;
        case 1:
            out.push_back(static_cast<uint8_t>(rng()));
            break;
        case 2:
            out.insert(out.end(), rng() % 300, static_cast<uint8_t>(rng()));
            break;
        default:
            if (!out.empty()) {
                const std::size_t from = rng() % out.size();
                const std::size_t length = std::min<std::size_t>(rng() % 400, out.size() - from);
                for (std::size_t i = 0; i < length; ++i) {
                    out.push_back(out[from + i]);
                }
            }
        }
    }
    out.resize(size);
    return out;
}

Bytes RoundTrip(const Bytes& data, int level, int strategy = Z_DEFAULT_STRATEGY) {
    const Bytes packed = Deflate(data, level, strategy);
    return Inflate(packed.data(), packed.size(), data.size());
}

// Whether zlib itself inflates `packed` to exactly `size` bytes using all of it.
bool ZlibAccepts(const Bytes& packed, std::size_t size, Bytes& out) {
    out.assign(size + 1, 0);
    uLongf outSize = static_cast<uLongf>(out.size());
    uLong inSize = static_cast<uLong>(packed.size());
    const int result = uncompress2(out.data(), &outSize, packed.data(), &inSize);
    out.resize(outSize);
    return result == Z_OK && outSize == size && inSize == packed.size();
}

// Writes deflate bits first bit first, and Huffman codes most significant bit first.
class BitWriter {
public:
    void Bits(uint32_t value, unsigned count) {
        for (unsigned i = 0; i < count; ++i) {
            Bit((value >> i) & 1);
        }
    }
    void Code(uint32_t code, unsigned length) {
        for (unsigned i = length; i-- > 0;) {
            Bit((code >> i) & 1);
        }
    }
    // The stream with the zlib head and the Adler-32 of `inflated`.
    Bytes Zlib(const Bytes& inflated) const {
        Bytes out = bytes_;
        out.insert(out.begin(), {0x78, 0x01});
        const uint32_t adler = platform::Adler32(inflated.data(), inflated.size());
        for (int shift = 24; shift >= 0; shift -= 8) {
            out.push_back(static_cast<uint8_t>(adler >> shift));
        }
        return out;
    }

private:
    void Bit(uint32_t bit) {
        if (used_ % 8 == 0) {
            bytes_.push_back(0);
        }
        bytes_.back() |= static_cast<uint8_t>(bit << (used_ % 8));
        ++used_;
    }
    Bytes bytes_;
    unsigned used_ = 0;
};

void ExpectError(const Bytes& packed, std::size_t size, const std::string& message) {
    try {
        Inflate(packed.data(), packed.size(), size);
        ADD_FAILURE() << "no error, expected: " << message;
    } catch (const EInflateError& e) {
        EXPECT_EQ(e.Message(), "Inflate error: " + message);
    }
}

} // namespace

TEST(InflateTest, EveryLevelAndStrategyRoundTrips) {
    const Bytes data = Sample(200000, 1);
    for (int level = 0; level <= 9; ++level) {
        EXPECT_EQ(RoundTrip(data, level), data) << "level " << level;
    }
    for (int strategy : {Z_FILTERED, Z_HUFFMAN_ONLY, Z_RLE, Z_FIXED}) {
        EXPECT_EQ(RoundTrip(data, 9, strategy), data) << "strategy " << strategy;
    }
}

TEST(InflateTest, EmptyAndTinyInputsRoundTrip) {
    for (std::size_t size = 0; size < 64; ++size) {
        const Bytes data = Sample(size, static_cast<unsigned>(size));
        for (int level : {0, 1, 9}) {
            EXPECT_EQ(RoundTrip(data, level), data) << size << " bytes at level " << level;
        }
    }
}

// Longest matches (258) at the farthest distance (32768), and a run from one byte back.
TEST(InflateTest, LongMatchesAtTheFarthestDistance) {
    Bytes data = Sample(32768, 7);
    std::mt19937 rng(3);
    for (auto& b : data) {
        b = static_cast<uint8_t>(rng());
    }
    const Bytes block = data;
    data.insert(data.end(), block.begin(), block.end());
    data.insert(data.end(), block.begin(), block.end());
    data.insert(data.end(), 100000, 0x5a);
    EXPECT_EQ(RoundTrip(data, 9), data);
}

// The program's packed main form: mostly pictures, the data the inflater is there for.
TEST(InflateTest, ThePackedMainFormRoundTrips) {
    const auto form = platform::RegularFile::ReadAll(VK_PACKED_MAIN_FORM, platform::kMaxToolFileBytes);
    ASSERT_TRUE(form.has_value());
    const Bytes data(form->begin(), form->end());
    ASSERT_GT(data.size(), 100000u);
    for (int level : {1, 9}) {
        EXPECT_EQ(RoundTrip(data, level), data) << "level " << level;
    }
}

TEST(InflateTest, EveryTruncationIsAnError) {
    const Bytes data = Sample(3000, 5);
    for (int level : {0, 9}) {
        const Bytes packed = Deflate(data, level);
        for (std::size_t size = 0; size < packed.size(); ++size) {
            EXPECT_THROW(Inflate(packed.data(), size, data.size()), EInflateError) << size << " of " << packed.size();
        }
    }
}

TEST(InflateTest, WrongOutputSizesAreErrors) {
    const Bytes data = Sample(5000, 9);
    for (int level : {0, 1, 9}) {
        const Bytes packed = Deflate(data, level);
        ExpectError(packed, data.size() - 1, "output overrun");
        ExpectError(packed, 0, "output overrun");
        ExpectError(packed, data.size() + 1, "stream ends short of the expected size");
    }
}

TEST(InflateTest, DamagedHeadsAndTailsAreErrors) {
    const Bytes data = Sample(1000, 2);
    const Bytes packed = Deflate(data, 6);
    Bytes bad = packed;
    bad[0] = 0x77; // compression method 7
    ExpectError(bad, data.size(), "not a deflate stream");
    bad = packed;
    bad[1] ^= 1;
    ExpectError(bad, data.size(), "bad header check");
    bad = packed;
    bad[0] = 0x78;
    bad[1] = 0xbb; // preset dictionary flag, with a valid check
    ExpectError(bad, data.size(), "preset dictionaries are not supported");
    bad = packed;
    bad.back() ^= 0x40;
    ExpectError(bad, data.size(), "checksum mismatch");
    bad = packed;
    bad.push_back(0);
    ExpectError(bad, data.size(), "bytes after the end of the stream");
}

TEST(InflateTest, DamagedBlocksAreErrors) {
    const Bytes one{'a'};
    BitWriter invalidType;
    invalidType.Bits(1, 1);
    invalidType.Bits(3, 2);
    ExpectError(invalidType.Zlib({}), 0, "invalid block type");

    BitWriter stored;
    stored.Bits(1, 1);
    stored.Bits(0, 2);
    stored.Bits(0, 5);
    stored.Bits(1, 16);
    stored.Bits(0xfffe ^ 1, 16); // NLEN not the complement of LEN
    stored.Bits('a', 8);
    ExpectError(stored.Zlib(one), 1, "stored block length check");

    // A fixed block that copies from one byte back before anything was written.
    BitWriter tooFar;
    tooFar.Bits(1, 1);
    tooFar.Bits(1, 2);
    tooFar.Code(1, 7); // length 3
    tooFar.Code(0, 5); // distance 1
    tooFar.Code(0, 7); // end of block
    ExpectError(tooFar.Zlib(Bytes(3, 0)), 3, "distance too far back");

    // Fixed codes may name distance 30 and literal/length 286, which valid data never uses.
    BitWriter distance30;
    distance30.Bits(1, 1);
    distance30.Bits(1, 2);
    distance30.Code(0x30 + 'a', 8);
    distance30.Code(1, 7);
    distance30.Code(30, 5);
    ExpectError(distance30.Zlib(Bytes(4, 'a')), 4, "invalid distance code");
    BitWriter length286;
    length286.Bits(1, 1);
    length286.Bits(1, 2);
    length286.Code(0xc0 + 6, 8);
    ExpectError(length286.Zlib({}), 0, "invalid literal/length code");
}

TEST(InflateTest, DamagedCodeLengthsAreErrors) {
    // A dynamic block head: 257 literal/length codes, 1 distance code, `clens` code-length lengths.
    auto head = [](BitWriter& w, std::initializer_list<unsigned> clens, unsigned literals = 257) {
        w.Bits(1, 1);
        w.Bits(2, 2);
        w.Bits(literals - 257, 5);
        w.Bits(0, 5);
        w.Bits(static_cast<uint32_t>(clens.size() - 4), 4);
        for (unsigned l : clens) {
            w.Bits(l, 3);
        }
    };
    BitWriter over;
    head(over, {1, 1, 1, 1});
    ExpectError(over.Zlib({}), 0, "over-subscribed code lengths");
    BitWriter incomplete;
    head(incomplete, {0, 0, 0, 2});
    ExpectError(incomplete.Zlib({}), 0, "incomplete code lengths");
    BitWriter tooMany;
    head(tooMany, {1, 1, 0, 0}, 287);
    ExpectError(tooMany.Zlib({}), 0, "too many length or distance codes");

    // Code-length code: 16 -> "0", 17 -> "10", 18 -> "11" (orders 16, 17, 18 first).
    BitWriter repeatFirst;
    head(repeatFirst, {1, 2, 2, 0});
    repeatFirst.Code(0, 1);
    ExpectError(repeatFirst.Zlib({}), 0, "length repeated before any length");
    BitWriter repeatPast;
    head(repeatPast, {1, 2, 2, 0});
    repeatPast.Code(3, 2);
    repeatPast.Bits(127, 7); // 138 zeros
    repeatPast.Code(3, 2);
    repeatPast.Bits(127, 7); // 276 of 258
    ExpectError(repeatPast.Zlib({}), 0, "lengths repeated past their count");
    BitWriter noEnd;
    head(noEnd, {1, 2, 2, 0});
    for (int i = 0; i < 2; ++i) {
        noEnd.Code(3, 2);
        noEnd.Bits(118, 7); // 129 zeros each: all 258 lengths zero
    }
    ExpectError(noEnd.Zlib({}), 0, "no end-of-block code");
}

// Random damage to valid streams: whatever is flipped, the inflater agrees with zlib on whether
// the stream is good, gives zlib's bytes when it is, and never reads or writes out of bounds
// (which the sanitizer builds check).
TEST(InflateTest, RandomDamageAgreesWithZlib) {
    std::mt19937 rng(42);
    int accepted = 0;
    for (int round = 0; round < 3000; ++round) {
        const Bytes data = Sample(1 + rng() % 3000, static_cast<unsigned>(round));
        Bytes packed = Deflate(data, static_cast<int>(rng() % 10));
        const int flips = 1 + static_cast<int>(rng() % 3);
        for (int i = 0; i < flips; ++i) {
            packed[2 + rng() % (packed.size() - 2)] ^= static_cast<uint8_t>(1u << (rng() % 8));
        }
        Bytes expected;
        const bool zlibAccepts = ZlibAccepts(packed, data.size(), expected);
        try {
            const Bytes out = Inflate(packed.data(), packed.size(), data.size());
            ++accepted;
            EXPECT_TRUE(zlibAccepts) << "round " << round;
            EXPECT_EQ(out, expected) << "round " << round;
        } catch (const EInflateError&) {
            EXPECT_FALSE(zlibAccepts) << "round " << round;
        }
    }
    EXPECT_LT(accepted, 300);
}
