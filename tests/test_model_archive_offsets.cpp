// Where an archive's offsets count from: archives with bytes in front of them (a stub, as
// `cat stub game.zip` makes), Zip64 archives, and entries whose offset or size leads outside the
// archive, which are refused naming the entry and the value.
#include "model/archive/KXArchiveReader.h"
#include "support/archive_fixtures.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <ostream>
#include <system_error>

using kxtest::readEntry;
using kxtest::ScratchDir;

namespace {

const char* const kPassword = "Kx-s3cret!pw";

struct Writer {
    const char* label;
    const char* command; // %s is the password
};

void PrintTo(const Writer& writer, std::ostream* out) {
    *out << writer.label;
}

const Writer kWriters[] = {
    {"ZipCrypto", "zip -q -P '%s' a.zip alpha.pack beta.pack"},
    {"Aes", "7z a -tzip -p'%s' -mem=AES256 a.zip alpha.pack beta.pack"},
    // Zip64 end records, and Zip64 sizes in the central records.
    {"Zip64", "zip -q -fz -P '%s' a.zip alpha.pack beta.pack"},
    {"Zip64Stored", "zip -q -0 -fz a.zip alpha.pack beta.pack"},
};

std::uint32_t le32(const std::string& bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (int b = 3; b >= 0; --b) {
        value = (value << 8) | static_cast<unsigned char>(bytes.at(at + b));
    }
    return value;
}

void setLe32(std::string& bytes, std::size_t at, std::uint32_t value) {
    for (int b = 0; b < 4; ++b) {
        bytes.at(at + b) = static_cast<char>((value >> (8 * b)) & 0xff);
    }
}

// The central record of the entry called `name`.
std::size_t centralRecordOf(const std::string& archive, const std::string& name) {
    const std::string signature("PK\x01\x02", 4);
    for (std::size_t at = archive.find(signature); at != std::string::npos;
         at = archive.find(signature, at + 4)) {
        if ((le32(archive, at + 28) & 0xffff) == name.size() &&
            archive.compare(at + 46, name.size(), name) == 0) {
            return at;
        }
    }
    ADD_FAILURE() << "no central record of " << name;
    return 0;
}

std::string openingError(const ScratchDir& dir, const std::string& archive) {
    kxtest::writeWholeFile(dir.file("bad.zip"), archive);
    try {
        KXArchiveReader reader(dir.file("bad.zip"));
    } catch (const std::system_error& e) {
        EXPECT_EQ(e.code(), std::errc::invalid_argument) << e.what();
        return e.what();
    }
    return "opened";
}

class ArchiveWithBytesInFront : public ::testing::TestWithParam<Writer> {
protected:
    void SetUp() override {
        dir.write("alpha.pack", "hello, stubbed world");
        dir.write("beta.pack", kxtest::noiseBytes(50000, 3));
        char command[256];
        std::snprintf(command, sizeof command, GetParam().command, kPassword);
        ASSERT_TRUE(dir.run(command)) << command;
        archive = kxtest::readWholeFile(dir.file("a.zip"));
    }

    ScratchDir dir;
    std::string archive;
};

TEST_P(ArchiveWithBytesInFront, ReadsAsTheArchiveAloneWhateverLiesInFront) {
    for (const std::size_t stub : {std::size_t(0), std::size_t(1), std::size_t(4096)}) {
        const std::string path = dir.file("stubbed.zip");
        kxtest::writeWholeFile(path, kxtest::noiseBytes(stub, 9) + archive);
        KXArchiveReader reader(path);
        EXPECT_EQ(kxtest::walkNames(reader), (std::vector<std::string>{"alpha.pack", "beta.pack"})) << stub;
        EXPECT_EQ(readEntry(reader, "beta.pack", kPassword), kxtest::noiseBytes(50000, 3)) << stub;
        EXPECT_EQ(readEntry(reader, "alpha.pack", kPassword), "hello, stubbed world") << stub;
    }
}

// The stub shifts every offset alike: an entry's own offset still counts from the archive's start,
// so one pointing at another entry's header is caught, and a directory declared further on than it
// lies is no stub.
TEST_P(ArchiveWithBytesInFront, OffsetsCountFromTheArchiveNotFromTheFile) {
    std::string pointed = archive;
    setLe32(pointed, centralRecordOf(archive, "beta.pack") + 42, 0); // alpha's local header
    EXPECT_EQ(openingError(dir, std::string(4096, 's') + pointed),
              "Unable to open the archive: " + dir.file("bad.zip") +
                  ": the entry \"beta.pack\" is named differently in its local header");

    const std::size_t end = archive.rfind(std::string("PK\x05\x06", 4));
    std::string late = archive;
    if (le32(archive, end + 16) == 0xffffffffu) {
        // The Zip64 end record's directory offset.
        const std::size_t record = archive.rfind(std::string("PK\x06\x06", 4));
        setLe32(late, record + 48, le32(archive, record + 48) + 1);
    } else {
        setLe32(late, end + 16, le32(archive, end + 16) + 1);
    }
    const std::string error = openingError(dir, std::string(16, 's') + late);
    EXPECT_EQ(error.rfind("Unable to open the archive: " + dir.file("bad.zip") + ": ", 0), 0u) << error;
}

std::string writerLabel(const ::testing::TestParamInfo<Writer>& info) {
    return info.param.label;
}

INSTANTIATE_TEST_SUITE_P(Writers, ArchiveWithBytesInFront, ::testing::ValuesIn(kWriters), writerLabel);

// 0xFFFFFFFF in a central record stands for a Zip64 value in its extra field; an entry without one
// cannot be read, and neither can one whose header or data lies outside the entries.
TEST(ArchiveOffsets, AnEntryWhoseOffsetOrSizeLeadsOutsideIsRefusedNamingBoth) {
    ScratchDir dir;
    dir.write("first.pack", kxtest::noiseBytes(3000, 11));
    dir.write("second.pack", std::string(5000, 'z'));
    ASSERT_TRUE(dir.run("zip -q -9 d.zip first.pack second.pack"));
    const std::string archive = kxtest::readWholeFile(dir.file("d.zip"));
    const std::size_t record = centralRecordOf(archive, "second.pack");
    const std::size_t directory = archive.find(std::string("PK\x01\x02", 4));
    const std::string prefix =
        "Unable to open the archive: " + dir.file("bad.zip") + ": the entry \"second.pack\" ";
    struct Case {
        std::size_t field;
        std::uint32_t value;
        std::string says;
    };
    const Case cases[] = {
        {42, 0xffffffffu,
         "gives its local header offset as 4294967295, the Zip64 mark, without a Zip64 value"},
        {24, 0xffffffffu, "gives its size as 4294967295, the Zip64 mark, without a Zip64 value"},
        {20, 0xffffffffu, "gives its packed size as 4294967295, the Zip64 mark, without a Zip64 value"},
        {42, 0x7fffffffu,
         "has its local header at offset 2147483647, not before the central directory at " +
             std::to_string(directory)},
        {20, 0x10000000u,
         "declares a packed size of 268435456 bytes, running from offset " +
             std::to_string(le32(archive, record + 42)) + " past the central directory at " +
             std::to_string(directory)},
    };
    for (const Case& damage : cases) {
        for (const std::size_t stub : {std::size_t(0), std::size_t(100)}) {
            std::string damaged = archive;
            setLe32(damaged, record + damage.field, damage.value);
            EXPECT_EQ(openingError(dir, std::string(stub, '#') + damaged), prefix + damage.says) << stub;
        }
    }
}

} // namespace
