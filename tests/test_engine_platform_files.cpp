// File access: whole-file reads, name resolution, the per-game writable folder.
#include <cstdlib>
#include <set>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include <gtest/gtest.h>

#include "cocos2d.h"
#include "platform/CCFolderName.h"
#include "support/temp_folder.h"

USING_NS_CC;

namespace {

// Restores an environment variable when the test ends.
class EnvironmentValue {
public:
    explicit EnvironmentValue(const char* name) : m_name(name) {
        const char* value = std::getenv(name);
        m_had = value != nullptr;
        if (value)
            m_value = value;
    }
    ~EnvironmentValue() {
        if (m_had)
            ::setenv(m_name.c_str(), m_value.c_str(), 1);
        else
            ::unsetenv(m_name.c_str());
    }
    void set(const std::string& value) { ::setenv(m_name.c_str(), value.c_str(), 1); }
    void unset() { ::unsetenv(m_name.c_str()); }

private:
    std::string m_name;
    std::string m_value;
    bool m_had = false;
};

bool isFolder(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

class FileUtilsTest : public ::testing::Test {
protected:
    void TearDown() override { CCFileUtils::purgeFileUtils(); }

    std::string readWhole(const std::string& path, unsigned long* size) {
        unsigned char* data = CCFileUtils::sharedFileUtils()->getFileData(path.c_str(), "rb", size);
        if (!data)
            return "<null>";
        std::string bytes(reinterpret_cast<char*>(data), *size);
        delete[] data;
        return bytes;
    }

    TempFolder folder;
};

} // namespace

TEST_F(FileUtilsTest, ReadsWholeFilesByteForByte) {
    std::string contents("pack\0data\xFF", 10);
    folder.write("Keys.pack", contents);
    unsigned long size = 99;
    EXPECT_EQ(readWhole(folder.file("Keys.pack"), &size), contents);
    EXPECT_EQ(size, 10u);
}

TEST_F(FileUtilsTest, MissingEmptyOrFolderGivesNullAndSizeZero) {
    folder.write("empty.pack", "");
    ::mkdir(folder.file("sub").c_str(), 0700);
    for (const std::string& path :
         {folder.file("missing.pack"), folder.file("empty.pack"), folder.file("sub")}) {
        unsigned long size = 99;
        EXPECT_EQ(readWhole(path, &size), "<null>") << path;
        EXPECT_EQ(size, 0u) << path;
    }
    unsigned long size = 99;
    EXPECT_EQ(CCFileUtils::sharedFileUtils()->getFileData(nullptr, "rb", &size), nullptr);
    EXPECT_EQ(size, 0u);
}

TEST_F(FileUtilsTest, RelativePathsResolveAgainstTheWorkingFolder) {
    ::mkdir(folder.file("data").c_str(), 0700);
    folder.write("data/data.pkg", "zip");
    char previous[4096];
    ASSERT_NE(::getcwd(previous, sizeof previous), nullptr);
    ASSERT_EQ(::chdir(folder.path().c_str()), 0);
    unsigned long size = 0;
    std::string read = readWhole("data/data.pkg", &size);
    bool exists = CCFileUtils::sharedFileUtils()->isFileExist("data/data.pkg");
    bool folderIsFile = CCFileUtils::sharedFileUtils()->isFileExist("data");
    std::string full = CCFileUtils::sharedFileUtils()->fullPathForFilename("data/data.pkg");
    ASSERT_EQ(::chdir(previous), 0);
    EXPECT_EQ(read, "zip");
    EXPECT_EQ(size, 3u);
    EXPECT_TRUE(exists);
    EXPECT_FALSE(folderIsFile);
    EXPECT_EQ(full, "data/data.pkg");
}

TEST_F(FileUtilsTest, SearchPathsComeBeforeTheWorkingFolder) {
    ::mkdir(folder.file("res").c_str(), 0700);
    folder.write("res/icon.ico", "ico");
    CCFileUtils* files = CCFileUtils::sharedFileUtils();
    files->addSearchPath(folder.file("res").c_str());
    EXPECT_EQ(files->fullPathForFilename("icon.ico"), folder.file("res/icon.ico"));
    EXPECT_TRUE(files->isFileExist("icon.ico"));
    EXPECT_EQ(files->fullPathForFilename("nothere.png"), "nothere.png");
    EXPECT_EQ(files->fullPathForFilename("/abs/path.png"), "/abs/path.png");
}

TEST_F(FileUtilsTest, WritablePathIsPerGameUnderTheXdgDataHome) {
    EnvironmentValue xdg("XDG_DATA_HOME");
    xdg.set(folder.file("xdg"));
    CCFileUtils* files = CCFileUtils::sharedFileUtils();
    files->setApplicationName("My Game");
    std::string path = files->getWritablePath();
    EXPECT_EQ(path, folder.file("xdg/kxplayer/My Game/"));
    EXPECT_TRUE(isFolder(path));
    // A name cannot climb out of the folder or nest.
    for (const std::string& name :
         {std::string("../a/b"), std::string(".."), std::string(), std::string(300, 'n')}) {
        files->setApplicationName(name);
        path = files->getWritablePath();
        ASSERT_EQ(path.compare(0, folder.file("xdg/kxplayer/").size(), folder.file("xdg/kxplayer/")), 0)
            << path;
        EXPECT_EQ(path.find('/', folder.file("xdg/kxplayer/").size()), path.size() - 1) << path;
        EXPECT_TRUE(isFolder(path)) << path;
    }
}

TEST_F(FileUtilsTest, NoWritablePathWhenTheFolderCannotBeMade) {
    EnvironmentValue xdg("XDG_DATA_HOME");
    xdg.set(folder.file("xdg"));
    ::mkdir(folder.file("xdg").c_str(), 0700);
    // A plain file where the game's folder goes, then where the player's root goes.
    ::mkdir(folder.file("xdg/kxplayer").c_str(), 0700);
    folder.write("xdg/kxplayer/Game", "not a folder");
    CCFileUtils* files = CCFileUtils::sharedFileUtils();
    files->setApplicationName("Game");
    EXPECT_EQ(files->getWritablePath(), "");
    ::unlink(folder.file("xdg/kxplayer/Game").c_str());
    ::rmdir(folder.file("xdg/kxplayer").c_str());
    folder.write("xdg/kxplayer", "not a folder");
    EXPECT_EQ(files->getWritablePath(), "");
    EXPECT_EQ(folder.read("xdg/kxplayer"), "not a folder");
}

TEST(FolderNames, SafeNamesStayAsTheyAre) {
    const std::string longest(kMaxFolderNameBytes, 'a');
    for (const std::string& name : {std::string("My Game"), std::string("Caf\xc3\xa9 2 (demo)"),
                                    std::string(".hidden"), std::string("..."), longest})
        EXPECT_EQ(safeFolderName(name), name);
}

TEST(FolderNames, OtherNamesBecomeSafeNamesOnePerGame) {
    std::string multibyte;
    while (multibyte.size() < 300)
        multibyte += "\xc3\xa9";
    const std::vector<std::string> names = {"",
                                            ".",
                                            "..",
                                            "a/b",
                                            "../a/b",
                                            "a\\b",
                                            "tab\tname",
                                            "line\nname",
                                            std::string("nul\0name", 8),
                                            "del\x7f",
                                            std::string(kMaxFolderNameBytes + 1, 'a'),
                                            std::string(300, 'a'),
                                            std::string(299, 'a') + "b",
                                            multibyte};
    std::set<std::string> made;
    for (const std::string& name : names) {
        const std::string safe = safeFolderName(name);
        made.insert(safe);
        EXPECT_EQ(safeFolderName(safe), safe) << safe;
        EXPECT_NE(safe[0], '.') << safe;
        EXPECT_LE(safe.size(), 80u) << safe;
        // No character is cut in half.
        EXPECT_NE(static_cast<unsigned char>(safe[safe.size() - 18]) & 0xc0, 0xc0) << safe;
    }
    EXPECT_EQ(made.size(), names.size());
    // A name that was safe stays apart from an unsafe one it resembles.
    EXPECT_NE(safeFolderName("a/b"), "a_b");
    // The folder of a game must not move between versions: the hash is fixed.
    EXPECT_EQ(safeFolderName("a/b"), "a_b-e620c3190468cf61");
}

TEST_F(FileUtilsTest, WritablePathFallsBackToHome) {
    EnvironmentValue xdg("XDG_DATA_HOME");
    EnvironmentValue home("HOME");
    home.set(folder.path());
    // A relative XDG_DATA_HOME is ignored, as the XDG rules say.
    xdg.set("relative/data");
    CCFileUtils::sharedFileUtils()->setApplicationName("Game");
    EXPECT_EQ(CCFileUtils::sharedFileUtils()->getWritablePath(), folder.file(".local/share/kxplayer/Game/"));
    xdg.unset();
    EXPECT_EQ(CCFileUtils::sharedFileUtils()->getWritablePath(), folder.file(".local/share/kxplayer/Game/"));
}
