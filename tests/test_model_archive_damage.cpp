// Truncated and corrupted archives: every failure is reported in the reader's own words and none
// of them crashes or returns damaged content as if it were sound.
#include "model/archive/KXArchiveReader.h"
#include "support/archive_fixtures.h"

#include <gtest/gtest.h>
#include <stdexcept>
#include <system_error>

using kxtest::ScratchDir;

namespace {

const char* const kPrefixes[] = {
    "Unable to open a file:", "Unable to locate the file:", "Unable to locate the first file:",
    "Unable to locate the next file:", "Unable to read the file:"};

bool isReaderMessage(const std::string& message) {
    for (const char* prefix : kPrefixes) {
        if (message.rfind(prefix, 0) == 0) {
            return true;
        }
    }
    return false;
}

std::uint16_t le16(const std::string& bytes, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) |
                                      (static_cast<unsigned char>(bytes[at + 1]) << 8));
}

// Offset of the first entry's data: after the 30-byte local header, its name and its extra field.
std::size_t firstDataOffset(const std::string& archive) {
    return 30u + le16(archive, 26) + le16(archive, 28);
}

class DamagedArchive : public ::testing::Test {
protected:
    void SetUp() override {
        dir.write("first.pack", kxtest::noiseBytes(3000, 11));
        dir.write("second.pack", std::string(5000, 'z'));
    }

    std::string build(const std::string& options) {
        std::filesystem::remove(dir.path() / "d.zip");
        EXPECT_TRUE(dir.run("zip -q " + options + " d.zip first.pack second.pack"));
        return kxtest::readWholeFile(dir.file("d.zip"));
    }

    std::string errorReadingFirst(const std::string& archive, const std::string& password = "") {
        kxtest::writeWholeFile(dir.file("bad.zip"), archive);
        KXArchiveReader reader(dir.file("bad.zip"));
        try {
            kxtest::readEntry(reader, "first.pack", password);
        } catch (const std::runtime_error& e) {
            return e.what();
        }
        return "no error";
    }

    ScratchDir dir;
};

TEST_F(DamagedArchive, TruncatedArchivesDoNotOpen) {
    std::string archive = build("-9");
    for (std::size_t cut : {std::size_t(0), std::size_t(4), std::size_t(30), archive.size() / 2,
                            archive.size() - 30, archive.size() - 1}) {
        kxtest::writeWholeFile(dir.file("cut.zip"), archive.substr(0, cut));
        try {
            KXArchiveReader reader(dir.file("cut.zip"));
            ADD_FAILURE() << "opened an archive cut at " << cut;
        } catch (const std::system_error& e) {
            EXPECT_EQ(std::string(e.what()).rfind("Unable to open the archive", 0), 0u) << e.what();
        }
    }
}

TEST_F(DamagedArchive, CorruptStoredDataFailsTheChecksum) {
    std::string archive = build("-0");
    archive[firstDataOffset(archive) + 1000] ^= 0x20;
    EXPECT_EQ(errorReadingFirst(archive), "Unable to read the file: Bad archive");
}

TEST_F(DamagedArchive, CorruptDeflatedDataIsABadArchive) {
    std::string archive = build("-9");
    std::size_t data = firstDataOffset(archive);
    for (std::size_t offset : {std::size_t(0), std::size_t(7), std::size_t(1500)}) {
        std::string damaged = archive;
        damaged[data + offset] ^= 0x5a;
        EXPECT_EQ(errorReadingFirst(damaged), "Unable to read the file: Bad archive") << offset;
    }
}

TEST_F(DamagedArchive, CorruptEncryptedDataIsABadArchive) {
    std::string archive = build("-0 -P pw");
    archive[firstDataOffset(archive) + 12 + 2000] ^= 0x01; // past the 12-byte encryption header
    EXPECT_EQ(errorReadingFirst(archive, "pw"), "Unable to read the file: Bad archive");
}

std::uint32_t le32(const std::string& bytes, std::size_t at) {
    return le16(bytes, at) | (std::uint32_t(le16(bytes, at + 2)) << 16);
}

TEST_F(DamagedArchive, CorruptAesEntriesFailTheAuthenticationCode) {
    for (const char* level : {"-mx0", "-mx5"}) {
        std::filesystem::remove(dir.path() / "aes.zip");
        ASSERT_TRUE(dir.run(std::string("7z a -tzip -ppw -mem=AES256 ") + level + " aes.zip first.pack"));
        const std::string archive = kxtest::readWholeFile(dir.file("aes.zip"));
        const std::size_t data = firstDataOffset(archive);
        const std::size_t stored = le32(archive, 18); // salt, verifier, ciphertext, 10-byte code
        ASSERT_GT(stored, 1000u);
        std::string body = archive;
        body[data + 16 + 2 + 500] ^= 0x04;
        EXPECT_EQ(errorReadingFirst(body, "pw"), "Unable to read the file: Bad archive") << level;
        std::string code = archive;
        code[data + stored - 1] ^= 0x80; // the content still decrypts; only the code is wrong
        EXPECT_EQ(errorReadingFirst(code, "pw"), "Unable to read the file: Bad archive") << level;
        EXPECT_EQ(errorReadingFirst(archive, "pw"), "no error") << level;
    }
}

TEST_F(DamagedArchive, DeclaredSizeThatDisagreesWithTheDataIsABadArchive) {
    std::string archive = build("-9");
    const std::size_t central = archive.find(std::string("PK\x01\x02", 4));
    ASSERT_NE(central, std::string::npos);
    for (std::uint32_t declared : {0x7fffffffu, 100u, 2999u, 3001u}) {
        std::string damaged = archive;
        for (std::size_t at : {std::size_t(22), central + 24}) { // local and central uncompressed size
            for (int b = 0; b < 4; ++b) {
                damaged[at + b] = static_cast<char>((declared >> (8 * b)) & 0xff);
            }
        }
        // Above what an entry may hold it is refused before it is read, with the size it declares.
        EXPECT_EQ(errorReadingFirst(damaged).substr(0, 36), "Unable to read the file: Bad archive")
            << declared;
    }
}

TEST_F(DamagedArchive, LocalHeaderPointingPastTheEndIsABadArchive) {
    std::string archive = build("-0");
    archive[28] = '\xff'; // extra field length: the data would start beyond the archive
    archive[29] = '\xff';
    // The consistency check at opening finds it; the reads would too.
    kxtest::writeWholeFile(dir.file("bad.zip"), archive);
    EXPECT_THROW(KXArchiveReader(dir.file("bad.zip")), std::system_error);
}

TEST_F(DamagedArchive, AnyFlippedByteIsReportedOrHarmless) {
    std::string archive = build("-9");
    const std::string first = kxtest::noiseBytes(3000, 11);
    for (std::size_t at = 0; at < archive.size(); at += 7) {
        std::string damaged = archive;
        damaged[at] ^= 0xa5;
        kxtest::writeWholeFile(dir.file("flip.zip"), damaged);
        try {
            KXArchiveReader reader(dir.file("flip.zip"));
            for (std::string name = reader.firstEntryName(); !name.empty(); name = reader.nextEntryName()) {
                std::optional<std::string> content = kxtest::readEntry(reader, name, "");
                if (name == "first.pack" && content) {
                    EXPECT_EQ(*content, first) << "damaged content returned, byte " << at;
                }
            }
        } catch (const std::system_error& e) {
            EXPECT_EQ(std::string(e.what()).rfind("Unable to open the archive", 0), 0u) << e.what();
        } catch (const std::runtime_error& e) {
            EXPECT_TRUE(isReaderMessage(e.what())) << e.what() << " at byte " << at;
        }
    }
}

} // namespace
