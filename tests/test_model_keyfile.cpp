// "Keys.pack": the mask for a User ID, unscrambling and the name list's rules.
#include "model/archive/KXKeyFile.h"

#include <gtest/gtest.h>

namespace {

using Table = KXMessagePackMap::KeyTable;

// Scrambles plain text the way the exporter writes it.
std::string scramble(std::string text, const std::string& userId) {
    applyKeyMask(reinterpret_cast<unsigned char*>(&text[0]), text.size(), buildKeyMask(userId));
    return text;
}

Table parse(const std::string& bytes, const std::string& userId) {
    return parseKeyList(reinterpret_cast<const unsigned char*>(bytes.data()),
                        static_cast<std::uint32_t>(bytes.size()), userId);
}

Table parsePlain(const std::string& text) {
    return parse(scramble(text, "player"), "player");
}

// Files already written by the game writer must keep reading: these values were computed outside
// the program (zlib CRC-32, a separate Mersenne twister, our table).
TEST(KeyFile, MaskForAUserIdIsStable) {
    const KXKeyMask expected = {0x04, 0x66, 0x91, 0x9d, 0x13, 0x78, 0xe5, 0x34, 0xd2, 0x6d, 0x98, 0x89, 0x9f,
                                0x57, 0x65, 0x7d, 0x4b, 0x99, 0x69, 0xdd, 0xe3, 0xbe, 0xb5, 0x4b, 0x02, 0x9e,
                                0x1d, 0xd5, 0xc0, 0xec, 0xcf, 0x15, 0x8c, 0x4b, 0xd9, 0x0b, 0x93, 0xae, 0xa5,
                                0x21, 0x7c, 0x9c, 0x5b, 0x2f, 0x1b, 0x30, 0x50, 0xe1, 0xec, 0x67, 0x5c, 0xc1,
                                0x67, 0x36, 0x49, 0xd4, 0xa1, 0x8e, 0xaf, 0x9a, 0x28, 0x90, 0xf4, 0x7a};
    EXPECT_EQ(buildKeyMask("game-42"), expected);
    const KXKeyMask empty = buildKeyMask("");
    EXPECT_EQ(std::vector<unsigned char>(empty.begin(), empty.begin() + 8),
              (std::vector<unsigned char>{0xa0, 0xc9, 0x0b, 0x01, 0xc8, 0x3c, 0xeb, 0x58}));
}

TEST(KeyFile, ReadsAFileScrambledElsewhere) {
    // "id\nClass Name\r\n\nvalue\nid\nUser ID" scrambled for User ID "U-7".
    const unsigned char file[] = {0x84, 0x96, 0x82, 0xd4, 0xd0, 0x6b, 0x01, 0xa5, 0xe3, 0x3a, 0x7d,
                                  0xef, 0x18, 0x69, 0xdb, 0xde, 0xad, 0x25, 0x43, 0xe2, 0xf0, 0x9a,
                                  0xaa, 0xe8, 0x0e, 0xbb, 0x09, 0x92, 0x8a, 0xc5, 0xb8, 0xaf};
    Table expected = {{"id", 0}, {"Class Name\r", 1}, {"value", 2}, {"User ID", 4}};
    EXPECT_EQ(parseKeyList(file, sizeof file, "U-7"), expected);
    // Another game's User ID unscrambles to other names.
    EXPECT_EQ(parseKeyList(file, sizeof file, "U-8").count("id"), 0u);
}

TEST(KeyFile, LineRules) {
    EXPECT_TRUE(parseKeyList(nullptr, 0, "player").empty());
    EXPECT_TRUE(parsePlain("").empty());
    EXPECT_TRUE(parsePlain("\n\n\n").empty());
    EXPECT_EQ(parsePlain("a\n\nb\nc"), (Table{{"a", 0}, {"b", 1}, {"c", 2}}));
    EXPECT_EQ(parsePlain("a\r\nb\n"), (Table{{"a\r", 0}, {"b", 1}}));
    EXPECT_EQ(parsePlain("x\ny\nx\n"), (Table{{"x", 0}, {"y", 1}}));
    EXPECT_EQ(parsePlain("x\ny\nx\nz"), (Table{{"x", 0}, {"y", 1}, {"z", 3}}));
    EXPECT_EQ(parsePlain(" padded \t\n"), (Table{{" padded \t", 0}}));
}

TEST(KeyFile, ScrambleThenParseRoundTripsForManyUserIds) {
    std::vector<std::string> names;
    for (int i = 0; i < 150; ++i) {
        names.push_back("Attribute number " + std::to_string(i));
    }
    names.push_back("Position");
    for (const std::string& userId :
         std::vector<std::string>{"", "1", "game-42", "5B6D0E7A-1C2F-4D3E-9A8B-7C6D5E4F3A2B",
                                  std::string("caf\xc3\xa9\x00z", 7)}) {
        std::string bytes = scrambleKeyList(names, userId);
        EXPECT_EQ(bytes.find("Attribute"), std::string::npos) << "stored in clear for " << userId;
        Table table = parse(bytes, userId);
        ASSERT_EQ(table.size(), names.size());
        EXPECT_EQ(table.at("Attribute number 0"), 0);
        EXPECT_EQ(table.at("Attribute number 149"), 149);
        EXPECT_EQ(table.at("Position"), 150);
    }
}

} // namespace
