// The archive reader on plain archives made by Info-ZIP: the walk, lookup by name, whole reads.
#include "model/archive/KXArchiveReader.h"
#include "support/archive_fixtures.h"

#include <gtest/gtest.h>
#include <stdexcept>
#include <system_error>

using kxtest::readEntry;
using kxtest::ScratchDir;
using kxtest::walkNames;

namespace {

class PlainArchive : public ::testing::Test {
protected:
    void SetUp() override {
        dir.write("b.pack", "bee");
        dir.write("dir/c.pack", "sea");
        dir.write("A.pack", "ay");
        dir.write("empty.pack", "");
        dir.write("big.pack", kxtest::noiseBytes(40000, 7));
        // Order on the command line is archive order; "dir" alone adds just the directory entry.
        ASSERT_TRUE(dir.run("zip -q plain.zip b.pack dir dir/c.pack A.pack empty.pack big.pack"));
        path = dir.file("plain.zip");
    }

    ScratchDir dir;
    std::string path;
};

TEST_F(PlainArchive, WalkReturnsFilesInArchiveOrderSkippingDirectoriesAndStaysAtTheEnd) {
    KXArchiveReader reader(path);
    EXPECT_EQ(walkNames(reader),
              (std::vector<std::string>{"b.pack", "dir/c.pack", "A.pack", "empty.pack", "big.pack"}));
    EXPECT_EQ(reader.nextEntryName(), "");
    EXPECT_EQ(reader.nextEntryName(), "");
    // A new walk starts again from the first entry.
    EXPECT_EQ(reader.firstEntryName(), "b.pack");
}

TEST_F(PlainArchive, ReadingTheWalkedEntryLeavesTheWalkWhereItWas) {
    KXArchiveReader reader(path);
    EXPECT_EQ(reader.firstEntryName(), "b.pack");
    EXPECT_EQ(reader.nextEntryName(), "dir/c.pack");
    EXPECT_EQ(readEntry(reader, "dir/c.pack"), "sea");
    EXPECT_EQ(reader.nextEntryName(), "A.pack");
}

TEST_F(PlainArchive, NamesMatchExactlyAndCaseSensitively) {
    KXArchiveReader reader(path);
    EXPECT_FALSE(readEntry(reader, "a.pack"));
    EXPECT_FALSE(readEntry(reader, "A.PACK"));
    EXPECT_FALSE(readEntry(reader, "A.pac"));
    EXPECT_FALSE(readEntry(reader, "c.pack"));
    EXPECT_FALSE(readEntry(reader, ""));
    EXPECT_EQ(readEntry(reader, "A.pack"), "ay");
    EXPECT_EQ(readEntry(reader, "b.pack"), "bee");
}

TEST_F(PlainArchive, LocateMovesTheWalkUnlessTheNameIsMissing) {
    KXArchiveReader reader(path);
    reader.firstEntryName();
    EXPECT_FALSE(reader.locate("missing.pack"));
    EXPECT_EQ(reader.currentEntryName(), "b.pack");
    EXPECT_TRUE(reader.locate("A.pack"));
    EXPECT_EQ(reader.currentEntryName(), "A.pack");
    EXPECT_EQ(reader.nextEntryName(), "empty.pack");
}

TEST_F(PlainArchive, ReadsLargeAndEmptyEntriesWhole) {
    KXArchiveReader reader(path);
    std::optional<std::string> big = readEntry(reader, "big.pack");
    ASSERT_TRUE(big);
    EXPECT_EQ(big->size(), 40000u);
    EXPECT_EQ(*big, kxtest::noiseBytes(40000, 7));

    unsigned char* buffer = nullptr;
    std::uint32_t size = 99;
    EXPECT_TRUE(reader.readFile("empty.pack", buffer, size, ""));
    EXPECT_EQ(buffer, nullptr);
    EXPECT_EQ(size, 0u);
}

TEST_F(PlainArchive, UnencryptedEntriesIgnoreAGivenPassword) {
    KXArchiveReader reader(path);
    EXPECT_EQ(walkNames(reader).size(), 5u);
    EXPECT_EQ(readEntry(reader, "b.pack", "pw"), "bee");
    EXPECT_EQ(readEntry(reader, "big.pack", "pw"), kxtest::noiseBytes(40000, 7));
}

TEST_F(PlainArchive, OverlongNameIsAnInvalidParameter) {
    KXArchiveReader reader(path);
    std::string longName(256, 'x');
    try {
        reader.locate(longName);
        FAIL() << "expected a throw";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "Unable to locate the file: Invalid parameter");
    }
    EXPECT_FALSE(reader.locate(std::string(255, 'x')));
}

TEST(ArchiveReader, ArchiveWithOnlyADirectoryWalksToNothing) {
    ScratchDir dir;
    dir.makeDir("only");
    ASSERT_TRUE(dir.run("zip -q d.zip only"));
    KXArchiveReader reader(dir.file("d.zip"));
    EXPECT_EQ(reader.firstEntryName(), "");
    EXPECT_EQ(reader.nextEntryName(), "");
}

TEST(ArchiveReader, EmptyArchiveWalksToNothing) {
    ScratchDir dir;
    // The end-of-central-directory record alone.
    kxtest::writeWholeFile(dir.file("empty.zip"), std::string("PK\x05\x06", 4) + std::string(18, '\0'));
    KXArchiveReader reader(dir.file("empty.zip"));
    EXPECT_EQ(reader.firstEntryName(), "");
    EXPECT_EQ(reader.nextEntryName(), "");
    EXPECT_FALSE(readEntry(reader, "x"));
}

TEST(ArchiveReader, UnopenableArchivesThrowSystemErrors) {
    ScratchDir dir;
    try {
        KXArchiveReader reader(dir.file("absent.zip"));
        FAIL() << "expected a throw";
    } catch (const std::system_error& e) {
        EXPECT_EQ(e.code(), std::errc::no_such_file_or_directory);
        EXPECT_EQ(std::string(e.what()).rfind("Unable to open the archive", 0), 0u);
    }
    dir.write("text.zip", "this is not an archive at all, only some words");
    EXPECT_THROW(KXArchiveReader(dir.file("text.zip")), std::system_error);
    dir.write("nothing.zip", "");
    EXPECT_THROW(KXArchiveReader(dir.file("nothing.zip")), std::system_error);
}

} // namespace
