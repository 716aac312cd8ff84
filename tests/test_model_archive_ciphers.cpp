// Encrypted archives made by Info-ZIP (traditional cipher) and 7-Zip (WinZip AES), also as writers
// that cannot seek back lay them out: right and wrong passwords, and what the reader remembers after
// a failure.
#include "model/archive/KXArchiveReader.h"
#include "model/archive/KXWinZipAes.h"
#include "support/archive_fixtures.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <ostream>
#include <stdexcept>

using kxtest::readEntry;
using kxtest::ScratchDir;

namespace {

const char* const kPassword = "Kx-s3cret!pw";

struct Cipher {
    const char* label;
    const char* command; // %s is the password
    bool checkedAtOpen;  // AES carries a password check; the traditional cipher only a check byte
    // Rewritten with a data descriptor after each entry, the local header holding no sizes (1) or
    // the unpacked size (2).
    int streamed = 0;
};

void PrintTo(const Cipher& cipher, std::ostream* out) {
    *out << cipher.label;
}

const Cipher kTraditional[] = {
    {"ZipStored", "zip -q -0 -P '%s' enc.zip alpha.pack beta.pack", false},
    {"ZipDeflated", "zip -q -9 -P '%s' enc.zip alpha.pack beta.pack", false},
    // Written to a pipe, Info-ZIP puts data descriptors after the entries and check values of its
    // own in the local headers.
    {"ZipThroughAPipe", "(zip -q -P '%s' - alpha.pack beta.pack | cat > enc.zip)", false},
    {"ZipDataDescriptors", "zip -q -fd -P '%s' enc.zip alpha.pack beta.pack", false},
};
const Cipher kAes[] = {
    {"Aes256", "7z a -tzip -p'%s' -mem=AES256 enc.zip alpha.pack beta.pack", true},
    {"Aes128", "7z a -tzip -p'%s' -mem=AES128 enc.zip alpha.pack beta.pack", true},
    {"Aes256Stored", "7z a -tzip -p'%s' -mem=AES256 -mx0 enc.zip alpha.pack beta.pack", true},
    {"Aes256Streamed", "7z a -tzip -p'%s' -mem=AES256 enc.zip alpha.pack beta.pack", true, 2},
    {"Aes128StoredStreamed", "7z a -tzip -p'%s' -mem=AES128 -mx0 enc.zip alpha.pack beta.pack", true, 1},
};

std::string errorOf(KXArchiveReader& reader, const std::string& name, const std::string& password) {
    try {
        readEntry(reader, name, password);
    } catch (const std::runtime_error& e) {
        return e.what();
    }
    return "no error";
}

class EncryptedArchive : public ::testing::TestWithParam<Cipher> {
protected:
    void SetUp() override {
        dir.write("alpha.pack", "hello, encrypted world");
        dir.write("beta.pack", kxtest::noiseBytes(50000, 3));
        char command[256];
        std::snprintf(command, sizeof command, GetParam().command, kPassword);
        ASSERT_TRUE(dir.run(command)) << command;
        path = dir.file("enc.zip");
        if (GetParam().streamed != 0) {
            kxtest::writeWholeFile(
                path, kxtest::streamedForm(kxtest::readWholeFile(path), GetParam().streamed == 2));
        }
    }

    ScratchDir dir;
    std::string path;
};

TEST_P(EncryptedArchive, RightPasswordReadsEveryEntry) {
    KXArchiveReader reader(path);
    EXPECT_EQ(kxtest::walkNames(reader), (std::vector<std::string>{"alpha.pack", "beta.pack"}));
    EXPECT_EQ(readEntry(reader, "alpha.pack", kPassword), "hello, encrypted world");
    EXPECT_EQ(readEntry(reader, "beta.pack", kPassword), kxtest::noiseBytes(50000, 3));
}

TEST_P(EncryptedArchive, WrongOrMissingPasswordNeverYieldsContent) {
    KXArchiveReader reader(path);
    for (const char* name : {"alpha.pack", "beta.pack"}) {
        std::string error = errorOf(reader, name, "wrong password");
        if (GetParam().checkedAtOpen) {
            EXPECT_EQ(error, "Unable to open a file: Error P17") << name;
        } else {
            EXPECT_TRUE(error == "Unable to open a file: Error P17" ||
                        error == "Unable to read the file: Bad archive")
                << name << ": " << error;
        }
        EXPECT_EQ(errorOf(reader, name, ""), "Unable to open a file: Error P17") << name;
    }
}

class TraditionalArchive : public EncryptedArchive {};
class AesArchive : public EncryptedArchive {};

TEST_P(TraditionalArchive, AWrongPasswordPastTheCheckByteFailsOnTheChecksum) {
    // About one wrong password in 256 passes the traditional cipher's check byte; the content must
    // then fail verification instead of coming back scrambled.
    KXArchiveReader reader(path);
    int slipped = 0;
    for (int attempt = 0; attempt < 5000 && slipped < 2; ++attempt) {
        std::string error = errorOf(reader, "alpha.pack", "guess" + std::to_string(attempt));
        if (error == "Unable to open a file: Error P17") {
            continue;
        }
        EXPECT_EQ(error, "Unable to read the file: Bad archive");
        ++slipped;
    }
    EXPECT_EQ(slipped, 2);
}

TEST_P(EncryptedArchive, AFailedReadCanBeFollowedByAGoodOne) {
    KXArchiveReader reader(path);
    ASSERT_EQ(reader.firstEntryName(), "alpha.pack");
    EXPECT_EQ(errorOf(reader, "beta.pack", ""), "Unable to open a file: Error P17");
    EXPECT_EQ(readEntry(reader, "beta.pack", kPassword), kxtest::noiseBytes(50000, 3));
}

TEST_P(AesArchive, TheWalkDerivesNoKeyAndEachReadOne) {
    // A key derivation costs about a millisecond: a load of hundreds of entries pays it once each.
    KXArchiveReader reader(path);
    const std::uint64_t before = winZipAesKeyDerivations();
    EXPECT_EQ(kxtest::walkNames(reader).size(), 2u);
    EXPECT_EQ(winZipAesKeyDerivations(), before);
    EXPECT_EQ(readEntry(reader, "beta.pack", kPassword), kxtest::noiseBytes(50000, 3));
    EXPECT_EQ(winZipAesKeyDerivations(), before + 1);
    EXPECT_EQ(errorOf(reader, "alpha.pack", "wrong password"), "Unable to open a file: Error P17");
    EXPECT_EQ(winZipAesKeyDerivations(), before + 2);
}

std::string cipherLabel(const ::testing::TestParamInfo<Cipher>& info) {
    return info.param.label;
}

INSTANTIATE_TEST_SUITE_P(Traditional, EncryptedArchive, ::testing::ValuesIn(kTraditional), cipherLabel);
INSTANTIATE_TEST_SUITE_P(Aes, EncryptedArchive, ::testing::ValuesIn(kAes), cipherLabel);
INSTANTIATE_TEST_SUITE_P(Traditional, TraditionalArchive, ::testing::ValuesIn(kTraditional), cipherLabel);
INSTANTIATE_TEST_SUITE_P(Aes, AesArchive, ::testing::ValuesIn(kAes), cipherLabel);

TEST(MixedArchive, PasswordAppliesOnlyToEncryptedEntries) {
    ScratchDir dir;
    dir.write("secret.pack", "hidden");
    dir.write("open.pack", "visible");
    ASSERT_TRUE(dir.run(std::string("zip -q -P '") + kPassword + "' mixed.zip secret.pack"));
    ASSERT_TRUE(dir.run("zip -q mixed.zip open.pack"));
    KXArchiveReader reader(dir.file("mixed.zip"));
    EXPECT_EQ(kxtest::walkNames(reader), (std::vector<std::string>{"secret.pack", "open.pack"}));
    EXPECT_EQ(readEntry(reader, "open.pack", kPassword), "visible");
    EXPECT_EQ(readEntry(reader, "secret.pack", kPassword), "hidden");
    EXPECT_EQ(readEntry(reader, "open.pack", ""), "visible");
}

} // namespace
