#include "level/LevelReader.h"

#include <gtest/gtest.h>

#include <string>

using namespace levels;

namespace {

std::string Floor16() {
    std::string text;
    for (int row = 0; row < kRows; ++row) {
        text += std::string(kColumns, '.') + "\n";
    }
    return text;
}

const ReadNote* Find(const ReadLevel& read, ReadNote::Kind kind) {
    for (const ReadNote& note : read.Notes) {
        if (note.What == kind) {
            return &note;
        }
    }
    return nullptr;
}

} // namespace

TEST(LevelReader, ASoundSourceReadsWithoutNotesAndKeepsItsComments) {
    std::string text = "; made by hand\n" + Floor16();
    text[15 + 23 * 2 + 4] = 'S';
    const ReadLevel read = ReadLevelText(text);
    EXPECT_TRUE(read.Notes.empty());
    EXPECT_EQ(read.Comments, std::vector<std::string>{"; made by hand"});
    EXPECT_EQ(read.Cells, Level::FromText(text));
    EXPECT_EQ(read.Cells.At(4, 2), Ship);
}

TEST(LevelReader, ADamagedSourceKeepsWhatCanBeReadAndCountsEachKindOfFault) {
    std::string text = Floor16();
    text[23 * 1 + 3] = '#'; // line 2 holds a wall
    text[23 * 4 + 7] = 'x'; // unknown symbols on lines 5 and 6
    text[23 * 5 + 9] = '?';
    text.erase(23 * 8, 2); // line 9 is two symbols short
    text += "S.....\n";    // a 17th line
    const ReadLevel read = ReadLevelText(text);
    EXPECT_EQ(read.Cells.At(3, 1), Wall);
    EXPECT_EQ(read.Cells.At(7, 4), Floor);
    ASSERT_NE(Find(read, ReadNote::Kind::UnknownSymbol), nullptr);
    EXPECT_EQ(Find(read, ReadNote::Kind::UnknownSymbol)->Count, 2);
    EXPECT_EQ(Find(read, ReadNote::Kind::UnknownSymbol)->Line, 5);
    EXPECT_EQ(Find(read, ReadNote::Kind::UnknownSymbol)->Column, 8);
    ASSERT_NE(Find(read, ReadNote::Kind::ShortLine), nullptr);
    EXPECT_EQ(Find(read, ReadNote::Kind::ShortLine)->Line, 9);
    ASSERT_NE(Find(read, ReadNote::Kind::ExtraLines), nullptr);

    const ReadLevel cut = ReadLevelText(Floor16().substr(0, 23 * 10));
    ASSERT_NE(Find(cut, ReadNote::Kind::MissingLines), nullptr);
    EXPECT_EQ(Find(cut, ReadNote::Kind::MissingLines)->Count, 6);
}

TEST(LevelReader, AShortLevelFileKeepsItsFirstCellsAndUnknownCodesBecomeFloor) {
    std::vector<uint8_t> bytes(100, Floor);
    bytes[0] = Ship;
    bytes[16 * 3 + 2] = Wall; // column 3, row 2
    bytes[16 * 4 + 1] = 9;
    const ReadLevel read = ReadLevelBytes(bytes);
    EXPECT_EQ(read.Cells.At(0, 0), Ship);
    EXPECT_EQ(read.Cells.At(3, 2), Wall);
    EXPECT_EQ(read.Cells.At(4, 1), Floor);
    ASSERT_NE(Find(read, ReadNote::Kind::ShortFile), nullptr);
    EXPECT_EQ(Find(read, ReadNote::Kind::ShortFile)->Count, 100);
    const ReadNote* unknown = Find(read, ReadNote::Kind::UnknownCode);
    ASSERT_NE(unknown, nullptr);
    EXPECT_EQ(unknown->Column, 4);
    EXPECT_EQ(unknown->Row, 1);

    EXPECT_NE(Find(ReadLevelBytes(std::vector<uint8_t>(400, Floor)), ReadNote::Kind::LongFile), nullptr);
    EXPECT_TRUE(ReadLevelBytes(std::vector<uint8_t>(kFileSize, Floor)).Notes.empty());
}
