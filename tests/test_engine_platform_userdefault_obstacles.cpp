// The user-default store when its place is taken: no folder for it, folders where the store or
// its temporary file go, a pipe or a huge file in its place. Saves go on where they can, the
// values stay in memory where they cannot, and nothing is written into the working folder.
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "cocos2d.h"
#include "support/temp_folder.h"

USING_NS_CC;

namespace {

bool isFolder(const std::string& path) {
    struct stat info;
    return ::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool isFile(const std::string& path) {
    struct stat info;
    return ::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

class StoreObstacles : public ::testing::Test {
protected:
    void SetUp() override { CCUserDefault::setXMLFilePath(store()); }
    void TearDown() override { CCUserDefault::setXMLFilePath(""); }

    std::string store() const { return folder.file("UserDefault.xml"); }
    CCUserDefault* reopen() {
        CCUserDefault::setXMLFilePath(store());
        return CCUserDefault::sharedUserDefault();
    }

    TempFolder folder;
};

} // namespace

TEST_F(StoreObstacles, AnEmptyFolderInTheStoresPlaceMakesWay) {
    ASSERT_EQ(::mkdir(store().c_str(), 0700), 0);
    CCUserDefault* values = reopen();
    EXPECT_EQ(values->getIntegerForKey("coins", -1), -1);
    values->setIntegerForKey("coins", 12);
    ASSERT_TRUE(values->flush());
    EXPECT_TRUE(isFile(store()));
    EXPECT_EQ(reopen()->getIntegerForKey("coins"), 12);
}

TEST_F(StoreObstacles, AFolderWithContentInTheStoresPlaceIsKeptAndTheValuesStayInMemory) {
    ASSERT_EQ(::mkdir(store().c_str(), 0700), 0);
    folder.write("UserDefault.xml/mine.txt", "someone's data");
    CCUserDefault* values = reopen();
    values->setIntegerForKey("coins", 12);
    EXPECT_FALSE(values->flush());
    EXPECT_FALSE(values->flush());
    EXPECT_EQ(values->getIntegerForKey("coins"), 12);
    EXPECT_EQ(folder.read("UserDefault.xml/mine.txt"), "someone's data");
    EXPECT_FALSE(isFile(store() + ".tmp"));
    // Once the folder is gone, the same values are saved.
    ::unlink(folder.file("UserDefault.xml/mine.txt").c_str());
    EXPECT_TRUE(values->flush());
    EXPECT_EQ(reopen()->getIntegerForKey("coins"), 12);
}

TEST_F(StoreObstacles, FoldersInTheTemporaryFilesPlaceDoNotStopSaves) {
    CCUserDefault* values = CCUserDefault::sharedUserDefault();
    // An empty folder goes.
    ASSERT_EQ(::mkdir((store() + ".tmp").c_str(), 0700), 0);
    values->setIntegerForKey("round", 1);
    ASSERT_TRUE(values->flush());
    EXPECT_FALSE(isFolder(store() + ".tmp"));
    // One with content stays, and every later save takes the next name.
    ASSERT_EQ(::mkdir((store() + ".tmp").c_str(), 0700), 0);
    folder.write("UserDefault.xml.tmp/mine.txt", "kept");
    for (int round = 2; round <= 4; ++round) {
        values->setIntegerForKey("round", round);
        ASSERT_TRUE(values->flush()) << round;
    }
    EXPECT_EQ(folder.read("UserDefault.xml.tmp/mine.txt"), "kept");
    EXPECT_FALSE(isFile(store() + ".tmp.1"));
    EXPECT_EQ(reopen()->getIntegerForKey("round"), 4);
}

TEST_F(StoreObstacles, WhenEveryTemporaryNameIsTakenTheOldStoreStays) {
    CCUserDefault* values = CCUserDefault::sharedUserDefault();
    values->setIntegerForKey("round", 1);
    ASSERT_TRUE(values->flush());
    for (const char* suffix : {".tmp", ".tmp.1", ".tmp.2", ".tmp.3"}) {
        ASSERT_EQ(::mkdir((store() + suffix).c_str(), 0700), 0);
        folder.write(std::string("UserDefault.xml") + suffix + "/x", "x");
    }
    values->setIntegerForKey("round", 2);
    EXPECT_FALSE(values->flush());
    EXPECT_EQ(values->getIntegerForKey("round"), 2);
    EXPECT_EQ(reopen()->getIntegerForKey("round"), 1);
}

TEST_F(StoreObstacles, APipeOrAHugeFileInTheStoresPlaceIsNotRead) {
    ASSERT_EQ(::mkfifo(store().c_str(), 0600), 0);
    // Reading a pipe would wait for a writer for ever.
    CCUserDefault* values = reopen();
    EXPECT_EQ(values->getIntegerForKey("coins", -1), -1);
    ::unlink(store().c_str());

    // Sparse: no disk space, but far beyond any real store.
    folder.write("UserDefault.xml", "<userDefaultRoot>");
    ASSERT_EQ(::truncate(store().c_str(), 1ll << 30), 0);
    values = reopen();
    EXPECT_EQ(values->getIntegerForKey("coins", -1), -1);
    EXPECT_TRUE(isFile(store() + ".corrupt"));
    values->setIntegerForKey("coins", 3);
    EXPECT_TRUE(values->flush());

    // A store grown past what a start would read is not written: the last good one stays.
    values->setStringForKey("log", std::string(17 * 1024 * 1024, 'x'));
    EXPECT_FALSE(values->flush());
    values = reopen();
    EXPECT_EQ(values->getIntegerForKey("coins", -1), 3);
}

TEST(StoreWithoutFolder, ValuesStayInMemoryAndNothingIsWrittenInTheWorkingFolder) {
    TempFolder home;
    TempFolder game;
    const char* oldXdg = std::getenv("XDG_DATA_HOME");
    const std::string savedXdg = oldXdg ? oldXdg : "";
    ::setenv("XDG_DATA_HOME", home.path().c_str(), 1);
    home.write("kxplayer", "a plain file where the folders go");
    char cwd[4096];
    ASSERT_NE(::getcwd(cwd, sizeof cwd), nullptr);
    ASSERT_EQ(::chdir(game.path().c_str()), 0);

    CCUserDefault::setXMLFilePath("");
    CCFileUtils::sharedFileUtils()->setApplicationName("Game");
    EXPECT_EQ(CCUserDefault::getXMLFilePath(), "");
    CCUserDefault* values = CCUserDefault::sharedUserDefault();
    values->setIntegerForKey("coins", 7);
    EXPECT_FALSE(values->flush());
    EXPECT_EQ(values->getIntegerForKey("coins"), 7);
    EXPECT_FALSE(CCUserDefault::isXMLFileExist());
    CCUserDefault::setXMLFilePath("");
    EXPECT_FALSE(isFile(game.file("UserDefault.xml")));
    EXPECT_FALSE(isFile(game.file("UserDefault.xml.tmp")));

    ASSERT_EQ(::chdir(cwd), 0);
    CCFileUtils::purgeFileUtils();
    if (oldXdg)
        ::setenv("XDG_DATA_HOME", savedXdg.c_str(), 1);
    else
        ::unsetenv("XDG_DATA_HOME");
}
