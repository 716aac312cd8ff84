// Archives that would make the reader work or allocate without bound, or that hide an entry: an
// entry renamed in one of its two headers, entries larger than the reader's bound, AES entries
// whose declared size or CRC does not fit their data.
#include "model/archive/KXArchiveReader.h"
#include "platform/CCFileLimits.h"
#include "support/archive_fixtures.h"
#include "tools/kxdata/KXGameWriter.h"

#include <gtest/gtest.h>
#include <stdexcept>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

using kxtest::ScratchDir;

namespace {

const char* const kPassword = "pw";

std::uint32_t le32(const std::string& bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (int b = 3; b >= 0; --b) {
        value = (value << 8) | static_cast<unsigned char>(bytes[at + b]);
    }
    return value;
}

void setLe32(std::string& bytes, std::size_t at, std::uint32_t value) {
    for (int b = 0; b < 4; ++b) {
        bytes[at + b] = static_cast<char>((value >> (8 * b)) & 0xff);
    }
}

// Offset of the first central directory record.
std::size_t centralRecord(const std::string& archive) {
    const std::size_t at = archive.find(std::string("PK\x01\x02", 4));
    EXPECT_NE(at, std::string::npos);
    return at;
}

std::string errorReading(const ScratchDir& dir, const std::string& archive, const std::string& name,
                         const std::string& password) {
    kxtest::writeWholeFile(dir.file("bad.zip"), archive);
    try {
        KXArchiveReader reader(dir.file("bad.zip"));
        return kxtest::readEntry(reader, name, password) ? "no error" : "missing";
    } catch (const std::exception& e) {
        return e.what();
    }
}

// Both headers of the first entry name it "first.pack"; a damaged byte in either would make the
// walk and the lookup disagree with the data. Archives with data descriptors, whose local headers
// lack the CRC and sizes, are held to the same.
TEST(ArchiveBounds, AnEntryNamedDifferentlyInItsTwoHeadersIsRefusedAtOpening) {
    ScratchDir dir;
    dir.write("first.pack", "one");
    dir.write("second.pack", "two");
    for (const char* command :
         {"zip -q -0 n.zip first.pack second.pack", "(zip -q -P pw - first.pack second.pack | cat > n.zip)",
          "zip -q -fd n.zip first.pack second.pack"}) {
        std::filesystem::remove(dir.path() / "n.zip");
        ASSERT_TRUE(dir.run(command));
        const std::string archive = kxtest::readWholeFile(dir.file("n.zip"));
        EXPECT_NO_THROW(KXArchiveReader(dir.file("n.zip"))) << command;
        const std::size_t central = centralRecord(archive);
        for (std::size_t at : {std::size_t(30 + 2), central + 46 + 2}) { // local name, central name
            std::string damaged = archive;
            damaged[at] ^= 0x01;
            kxtest::writeWholeFile(dir.file("renamed.zip"), damaged);
            EXPECT_THROW(KXArchiveReader(dir.file("renamed.zip")), std::system_error) << command << " " << at;
        }
    }
}

// The archive is a game file like the others: capped, and read only when it is a regular file.
TEST(ArchiveBounds, AnArchiveAboveItsCapOrNotAFileIsRefusedUnread) {
    ScratchDir dir;
    const std::uint64_t cap = cocos2d::ccFileSizeCap(cocos2d::ccFileKindForPath("data/data.pkg"));
    kxtest::writeWholeFile(dir.file("data.pkg"), "");
    ASSERT_EQ(::truncate(dir.file("data.pkg").c_str(), static_cast<off_t>(cap + 1)), 0);
    ASSERT_EQ(::mkfifo(dir.file("pipe.pkg").c_str(), 0600), 0);
    for (const auto& refused : {std::make_pair(std::string("data.pkg"), std::errc::file_too_large),
                                std::make_pair(std::string("pipe.pkg"), std::errc::invalid_argument)}) {
        ::testing::internal::CaptureStderr();
        try {
            KXArchiveReader reader(dir.file(refused.first));
            ADD_FAILURE() << refused.first << " opened";
        } catch (const std::system_error& e) {
            EXPECT_EQ(e.code(), refused.second) << refused.first;
            EXPECT_EQ(std::string(e.what()).rfind("Unable to open the archive", 0), 0u) << e.what();
        }
        const std::string log = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(log.rfind("file refused: " + dir.file(refused.first), 0), 0u) << log;
    }
}

// What lies in the archive's place is named in the refusal, which is what a failed load reports.
TEST(ArchiveBounds, AnArchiveThatIsNoFileOrEmptyIsRefusedSayingWhatItIs) {
    ScratchDir dir;
    ASSERT_EQ(::mkfifo(dir.file("pipe.pkg").c_str(), 0600), 0);
    dir.makeDir("folder.pkg");
    ASSERT_EQ(::symlink("/dev/null", dir.file("device.pkg").c_str()), 0);
    kxtest::writeWholeFile(dir.file("empty.pkg"), "");
    struct Case {
        std::string name;
        std::string says;
        std::errc code;
    };
    for (const Case& refused :
         {Case{"pipe.pkg", " is not a regular file but a pipe", std::errc::invalid_argument},
          Case{"folder.pkg", " is not a regular file but a folder", std::errc::is_a_directory},
          Case{"device.pkg", " is not a regular file but a device", std::errc::invalid_argument},
          Case{"empty.pkg", " is empty", std::errc::invalid_argument}}) {
        const std::string path = dir.file(refused.name);
        ::testing::internal::CaptureStderr();
        try {
            KXArchiveReader reader(path);
            ADD_FAILURE() << refused.name << " opened";
        } catch (const std::system_error& e) {
            EXPECT_EQ(e.code(), refused.code) << refused.name;
            EXPECT_EQ(std::string(e.what()), "Unable to open the archive: " + path + refused.says);
        }
        const std::string log = ::testing::internal::GetCapturedStderr();
        // An empty file is a file: only the archive refuses it.
        EXPECT_EQ(log, refused.name == "empty.pkg" ? "" : "file refused: " + path + refused.says + "\n");
    }
}

// Sets the uncompressed size of the named entry in its central record and its local header.
void setDeclaredSize(std::string& archive, const std::string& name, std::uint32_t size) {
    for (std::size_t at = archive.find(std::string("PK\x01\x02", 4)); at != std::string::npos;
         at = archive.find(std::string("PK\x01\x02", 4), at + 4)) {
        const std::size_t nameLength = le32(archive, at + 28) & 0xffff;
        if (archive.compare(at + 46, nameLength, name) == 0) {
            setLe32(archive, at + 24, size);
            setLe32(archive, le32(archive, at + 42) + 22, size);
        }
    }
}

// What an inflation bomb declares: the reader refuses it before allocating or inflating anything.
TEST(ArchiveBounds, AnEntryDeclaredLargerThanTheBoundIsRefusedBeforeItIsRead) {
    ScratchDir dir;
    dir.write("big.pack", std::string(4000, '\0'));
    dir.write("small.pack", "fine");
    ASSERT_TRUE(dir.run("zip -q -9 z.zip big.pack small.pack"));
    ASSERT_TRUE(dir.run("7z a -tzip -p" + std::string(kPassword) +
                        " -mem=AES256 a.zip big.pack small.pack > /dev/null"));
    for (const char* file : {"z.zip", "a.zip"}) {
        std::string archive = kxtest::readWholeFile(dir.file(file));
        setDeclaredSize(archive, "big.pack", KXArchiveReader::kMaxEntrySize + 1);
        EXPECT_EQ(
            errorReading(dir, archive, "big.pack", kPassword),
            "Unable to read the file: Bad archive (" + dir.file("bad.zip") +
                ": the entry \"big.pack\" declares 16777217 bytes, above the 16777216 an entry may hold)")
            << file;
        EXPECT_EQ(errorReading(dir, archive, "small.pack", kPassword), "no error") << file;
    }
}

class AesEntry : public ::testing::Test {
protected:
    void SetUp() override {
        content = kxtest::noiseBytes(3000, 5) + std::string(3000, 'a');
        // Written by libzip, as the game writer does: AE-1, so the CRC is stored as well.
        kxdata::writeArchive(dir.file("aes.zip"), {{"first.pack", content}}, kxdata::ArchiveCipher::Aes256,
                             kPassword);
        archive = kxtest::readWholeFile(dir.file("aes.zip"));
        central = centralRecord(archive);
    }

    ScratchDir dir;
    std::string content;
    std::string archive;
    std::size_t central = 0;
};

TEST_F(AesEntry, ReadsWhole) {
    EXPECT_EQ(errorReading(dir, archive, "first.pack", kPassword), "no error");
}

TEST_F(AesEntry, ADeclaredSizeOtherThanTheDataIsABadArchive) {
    ASSERT_EQ(le32(archive, central + 24), content.size());
    for (std::uint32_t declared : {0u, 100u, 5999u, 6001u, 1u << 24}) {
        std::string damaged = archive;
        setLe32(damaged, 22, declared); // local and central uncompressed size
        setLe32(damaged, central + 24, declared);
        EXPECT_EQ(errorReading(dir, damaged, "first.pack", kPassword), "Unable to read the file: Bad archive")
            << declared;
    }
}

TEST_F(AesEntry, AnAe1CrcThatDoesNotMatchIsABadArchive) {
    ASSERT_NE(le32(archive, central + 16), 0u);
    std::string damaged = archive;
    setLe32(damaged, 14, le32(archive, 14) ^ 1); // local and central CRC
    setLe32(damaged, central + 16, le32(archive, central + 16) ^ 1);
    EXPECT_EQ(errorReading(dir, damaged, "first.pack", kPassword), "Unable to read the file: Bad archive");
}

TEST_F(AesEntry, NoPasswordOrAWrongOneIsTheWrongPassword) {
    EXPECT_EQ(errorReading(dir, archive, "first.pack", ""), "Unable to open a file: Error P17");
    EXPECT_EQ(errorReading(dir, archive, "first.pack", "pW"), "Unable to open a file: Error P17");
}

} // namespace
