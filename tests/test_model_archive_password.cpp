// The archive password: stored text, its decoding, and an archive protected with it.
#include "model/KXSecrets.h"
#include "model/archive/KXArchiveReader.h"
#include "support/archive_fixtures.h"

#include <gtest/gtest.h>

namespace {

TEST(ArchivePassword, DecodesTextStoredWithTheTable) {
    // base64 of "Test-Pass1" XOR the table, computed outside the program.
    EXPECT_EQ(decodePassword("nIdQLCTSSqa70w=="), "Test-Pass1");
    EXPECT_EQ(encodePassword("Test-Pass1"), "nIdQLCTSSqa70w==");
}

TEST(ArchivePassword, UndecodableTextGivesNoPassword) {
    EXPECT_EQ(decodePassword(""), "");
    EXPECT_EQ(decodePassword(nullptr), "");
    EXPECT_EQ(decodePassword("*not base64*"), "");
}

TEST(ArchivePassword, EncodingRoundTripsEveryPaddingLength) {
    std::string password;
    for (int length = 1; length <= 10; ++length) {
        password += static_cast<char>('a' + length);
        EXPECT_EQ(decodePassword(encodePassword(password).c_str()), password) << length;
    }
    EXPECT_EQ(decodePassword(encodePassword("\xff\x01\x80").c_str()), "\xff\x01\x80");
}

TEST(ArchivePassword, StoredPasswordIsUsable) {
    std::string password = decodePassword(kStoredArchivePassword);
    ASSERT_FALSE(password.empty());
    EXPECT_EQ(password.find('\0'), std::string::npos);
    EXPECT_EQ(encodePassword(password), kStoredArchivePassword);
}

TEST(ArchivePassword, OpensAnArchiveMadeWithTheStoredPassword) {
    std::string password = decodePassword(kStoredArchivePassword);
    ASSERT_EQ(password.find('\''), std::string::npos);
    kxtest::ScratchDir dir;
    dir.write("Keys.pack", "keys");
    dir.write("KXModelScreen.0.attributes.pack", "screens");
    ASSERT_TRUE(dir.run("7z a -tzip -p'" + password +
                        "' -mem=AES256 data.pkg Keys.pack KXModelScreen.0.attributes.pack"));
    KXArchiveReader reader(dir.file("data.pkg"));
    EXPECT_EQ(kxtest::readEntry(reader, "Keys.pack", decodePassword(kStoredArchivePassword)), "keys");
    // 7-Zip sorts the entries: the screens come first.
    EXPECT_EQ(reader.firstEntryName(), "KXModelScreen.0.attributes.pack");
    EXPECT_EQ(kxtest::readEntry(reader, "KXModelScreen.0.attributes.pack", password), "screens");
    EXPECT_THROW(kxtest::readEntry(reader, "KXModelScreen.0.attributes.pack", ""), std::runtime_error);
}

} // namespace
