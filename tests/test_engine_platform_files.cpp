// File access: whole-file reads, name resolution, the per-game writable folder.
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "cocos2d.h"
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
    files->setApplicationName("../a/b");
    EXPECT_EQ(files->getWritablePath(), folder.file("xdg/kxplayer/.._a_b/"));
    files->setApplicationName("..");
    EXPECT_EQ(files->getWritablePath(), folder.file("xdg/kxplayer/default/"));
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
