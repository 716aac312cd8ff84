// The user-default store's temporary file: a writer killed mid-flush leaves at most one behind,
// and the next flush replaces it.
#include <csignal>
#include <dirent.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include "cocos2d.h"
#include "support/temp_folder.h"

USING_NS_CC;

namespace {

class UserDefaultKills : public ::testing::Test {
protected:
    void SetUp() override { CCUserDefault::setXMLFilePath(m_folder.file("UserDefault.xml")); }
    void TearDown() override { CCUserDefault::setXMLFilePath(""); }

    // Files in the folder other than the store itself.
    int leftovers() const {
        int count = 0;
        if (DIR* dir = ::opendir(m_folder.path().c_str())) {
            while (dirent* entry = ::readdir(dir)) {
                const std::string name = entry->d_name;
                if (name != "." && name != ".." && name != "UserDefault.xml")
                    ++count;
            }
            ::closedir(dir);
        }
        return count;
    }

    static void writeGeneration(CCUserDefault* store, int generation) {
        const std::string padding(200, 'p');
        for (int key = 0; key < 200; ++key)
            store->setStringForKey(("key-" + std::to_string(key)).c_str(),
                                   std::to_string(generation) + padding);
        store->flush();
    }

    TempFolder m_folder;
};

TEST_F(UserDefaultKills, KilledWritersNeverLeaveMoreThanOneTemporaryFile) {
    writeGeneration(CCUserDefault::sharedUserDefault(), 0);
    int roundsWithLeftover = 0;
    for (int round = 0; round < 40; ++round) {
        pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            CCUserDefault::purgeSharedUserDefault();
            CCUserDefault* store = CCUserDefault::sharedUserDefault();
            for (int generation = 1;; ++generation)
                writeGeneration(store, generation);
        }
        ::usleep(static_cast<useconds_t>(1000 + (round * 7919) % 9000));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        const int left = leftovers();
        ASSERT_LE(left, 1) << "round " << round;
        roundsWithLeftover += left;
        pugi::xml_document document;
        ASSERT_TRUE(document.load_file(m_folder.file("UserDefault.xml").c_str())) << "round " << round;
    }
    // The next flush replaces whatever the last kill left.
    CCUserDefault::purgeSharedUserDefault();
    writeGeneration(CCUserDefault::sharedUserDefault(), 99);
    EXPECT_EQ(leftovers(), 0);
    RecordProperty("roundsWithLeftover", roundsWithLeftover);
}

TEST_F(UserDefaultKills, AStaleTemporaryFileIsReplaced) {
    m_folder.write("UserDefault.xml.tmp", "half a store from a writer that died");
    CCUserDefault* store = CCUserDefault::sharedUserDefault();
    store->setStringForKey("KXP_Scores", "w:1 2 3 4 5 6");
    ASSERT_TRUE(store->flush());
    EXPECT_EQ(leftovers(), 0);
    CCUserDefault::purgeSharedUserDefault();
    EXPECT_EQ(CCUserDefault::sharedUserDefault()->getStringForKey("KXP_Scores"), "w:1 2 3 4 5 6");
}

} // namespace
