// Data that would make the loader work or allocate without bound, or read a game with a key file
// that cannot be its own: each is a failed file or a failed load with its reason, never a success.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/archive/KXArchiveReader.h"
#include "model/archive/KXKeyFile.h"
#include "model/classes/KXModelFont.h"
#include "support/loading_fixtures.h"

namespace {

class LoadingBoundsTest : public LoadingTest {
protected:
    // Settings and two fonts, as loose files.
    void writeGame() {
        kxdata::ModelList models{settings(), make("KXModelFont", "a"), make("KXModelFont", "b")};
        m_files = pack(models);
        writeFolder(m_files);
    }

    void writeKeys(const std::vector<std::string>& lines) {
        folder().write("data/Keys.pack", scrambleKeyList(lines, kUserId));
    }

    std::vector<kxdata::PackFile> m_files;
};

TEST_F(LoadingBoundsTest, AKeyFileBeyondItsBoundsFailsTheLoadWithTheReason) {
    writeGame();
    const std::vector<std::string> usual = {"id", "Class Name", "value", "User ID", "Name"};
    struct Case {
        std::vector<std::string> lines;
        std::string error;
    };
    // The names come out of the mask only with the settings' User ID: the line points there too.
    const std::string unscrambled =
        " (unscrambled with the User ID in data/KXModelGeneralSettings.0.attributes.pack)";
    std::vector<std::string> many = usual;
    for (int i = 0; i < kMaxKeyLines; ++i) {
        many.push_back(std::to_string(i));
    }
    std::vector<std::string> huge = usual;
    for (size_t bytes = 0; bytes <= kMaxKeyFileSize; bytes += 1000) {
        huge.push_back(std::string(994, 'k') +
                       std::to_string(100000 + huge.size())); // 1000 with the line feed
    }
    const Case cases[] = {
        {{"id", "Class Name", "value", "User ID", std::string(kMaxKeyNameLength + 1, 'n')},
         "Failed to load keys: data/Keys.pack: a key name is too long" + unscrambled},
        {many, "Failed to load keys: data/Keys.pack: the key file has too many names" + unscrambled},
        {huge, "Failed to load keys: data/Keys.pack: the key file is too large"},
    };
    for (const Case& c : cases) {
        store()->clear();
        writeKeys(c.lines);
        store()->loadInitialData("data/data.pkg", nullptr);
        EXPECT_TRUE(store()->loadFailed()) << c.error;
        EXPECT_EQ(store()->lastError(), c.error);
        EXPECT_TRUE(store()->loadNextFile());
    }
}

TEST_F(LoadingBoundsTest, AKeyTableWithoutTheNamesEveryGameHasFailsTheLoad) {
    writeGame();
    for (const char* missing : {"id", "Class Name", "value", "User ID"}) {
        std::vector<std::string> lines;
        for (const char* name : {"id", "Class Name", "value", "User ID", "Name"}) {
            if (std::string(name) != missing) {
                lines.push_back(name);
            }
        }
        store()->clear();
        writeKeys(lines);
        store()->loadInitialData("data/data.pkg", nullptr);
        EXPECT_TRUE(store()->loadFailed()) << missing;
        EXPECT_EQ(store()->lastError(),
                  std::string("Failed to load keys: data/Keys.pack: the key table lacks \"") + missing +
                      "\" (unscrambled with the User ID in "
                      "data/KXModelGeneralSettings.0.attributes.pack)");
    }
    // Bytes that unscramble to no list of names at all: one random-looking line.
    store()->clear();
    folder().write("data/Keys.pack", std::string("\x93\x11\xfe\x02\x7f", 5));
    store()->loadInitialData("data/data.pkg", nullptr);
    EXPECT_TRUE(store()->loadFailed());
    EXPECT_EQ(store()->lastError().rfind("Failed to load keys: data/Keys.pack: the key table lacks ", 0), 0u)
        << store()->lastError();
}

TEST_F(LoadingBoundsTest, AFolderFileLargerThanAnArchiveEntryMayBeIsNotRead) {
    writeGame();
    store()->loadInitialData("data/data.pkg", nullptr);
    ASSERT_FALSE(store()->loadFailed());
    folder().write("data/KXModelFont.1.attributes.pack",
                   std::string(KXArchiveReader::kMaxEntrySize + 1, '\x80'));
    EXPECT_EQ(store()->loadDataFromFile("data/KXModelFont.1.attributes.pack", 0), 2);
    EXPECT_EQ(store()->lastError(),
              "Unable to load data: data/KXModelFont.1.attributes.pack: the file is too large");
}

// Files that do not read are noted with their reasons for the player's error line, a bounded few.
TEST_F(LoadingBoundsTest, FilesThatDoNotReadAreNotedWithTheirReasonsAFewOnly) {
    writeGame();
    store()->loadInitialData("data/data.pkg", nullptr);
    ASSERT_FALSE(store()->loadFailed());
    EXPECT_EQ(store()->loadProblemsText(), "");
    const size_t files = KXModelController::kMaxLoadProblems + 4;
    for (size_t index = 0; index < files; ++index) {
        const std::string name = "data/KXModelFont." + std::to_string(index + 5) + ".attributes.pack";
        folder().write(name, "\xc1");
        EXPECT_EQ(store()->loadDataFromFile(name, 0), 2);
    }
    ASSERT_EQ(store()->loadProblems().size(), KXModelController::kMaxLoadProblems);
    EXPECT_EQ(store()->loadProblems().front().rfind("data/KXModelFont.5.attributes.pack: ", 0), 0u)
        << store()->loadProblems().front();
    const std::string text = store()->loadProblemsText();
    const std::string more = "; and 4 more files";
    ASSERT_GT(text.size(), more.size());
    EXPECT_EQ(text.substr(text.size() - more.size()), more) << text;
    store()->clear();
    EXPECT_TRUE(store()->loadProblems().empty());
    EXPECT_EQ(store()->loadProblemsText(), "");
}

// Empty maps, maps of unknown classes and connections of absent models load nothing: a file of
// little else is cut short instead of being walked to its end.
TEST_F(LoadingBoundsTest, AFileOfObjectsThatAreNotModelsIsCutShort) {
    writeGame();
    store()->loadInitialData("data/data.pkg", nullptr);
    ASSERT_FALSE(store()->loadFailed());
    std::string font;
    for (const kxdata::PackFile& file : m_files) {
        font = file.name == "KXModelFont.0.attributes.pack" ? file.bytes : font;
    }
    ASSERT_FALSE(font.empty());
    std::string emptyMaps(size_t(1) << 20, '\x80');
    EXPECT_THROW(
        store()->parseData(reinterpret_cast<const unsigned char*>(emptyMaps.data()), emptyMaps.size(), 0),
        std::runtime_error);
    // Some of them around real models are fine.
    const std::string mixed = std::string(1000, '\x80') + font + std::string(1000, '\x80');
    store()->clear();
    store()->parseData(reinterpret_cast<const unsigned char*>(mixed.data()), mixed.size(), 0);
    EXPECT_EQ(store()->getModelsByType(KXModelFont::staticType()).size(), 2u);
    EXPECT_THROW(
        store()->parseData(reinterpret_cast<const unsigned char*>(emptyMaps.data()), emptyMaps.size(), 1),
        std::runtime_error);
}

} // namespace
