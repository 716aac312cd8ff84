// The user-default store: typed values, the XML file, atomic flush, unreadable stores.
#include <csignal>
#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include "cocos2d.h"
#include "support/comma_locale.h"
#include "support/temp_folder.h"

USING_NS_CC;

namespace {

class UserDefaultTest : public ::testing::Test {
protected:
    void SetUp() override { CCUserDefault::setXMLFilePath(folder.file("UserDefault.xml")); }
    void TearDown() override { CCUserDefault::setXMLFilePath(""); }

    // Drops the in-memory store so the next use reads the file again.
    CCUserDefault* reopen() {
        CCUserDefault::setXMLFilePath(folder.file("UserDefault.xml"));
        return CCUserDefault::sharedUserDefault();
    }

    int countFiles() const {
        int count = 0;
        std::string command = "ls -A " + folder.path() + " | wc -l";
        if (std::FILE* pipe = ::popen(command.c_str(), "r")) {
            if (std::fscanf(pipe, "%d", &count) != 1)
                count = -1;
            ::pclose(pipe);
        }
        return count;
    }

    TempFolder folder;
};

} // namespace

TEST_F(UserDefaultTest, ValuesSurviveFlushAndReload) {
    CCUserDefault* store = CCUserDefault::sharedUserDefault();
    EXPECT_EQ(CCUserDefault::getXMLFilePath(), folder.file("UserDefault.xml"));
    store->setStringForKey("KXP_Scores", "1:200;2:350");
    store->setIntegerForKey("KXP_selectedCharacter", -3);
    store->setBoolForKey("KXP_fullscreen", true);
    store->setBoolForKey("KXP_removeAds", false);
    store->setFloatForKey("volume", 0.1f);
    store->setDoubleForKey("elapsed", 1234.5678901234);
    ASSERT_TRUE(store->flush());
    EXPECT_TRUE(CCUserDefault::isXMLFileExist());

    store = reopen();
    EXPECT_EQ(store->getStringForKey("KXP_Scores"), "1:200;2:350");
    EXPECT_EQ(store->getIntegerForKey("KXP_selectedCharacter"), -3);
    EXPECT_TRUE(store->getBoolForKey("KXP_fullscreen"));
    EXPECT_FALSE(store->getBoolForKey("KXP_removeAds", true));
    EXPECT_FLOAT_EQ(store->getFloatForKey("volume"), 0.1f);
    EXPECT_DOUBLE_EQ(store->getDoubleForKey("elapsed"), 1234.5678901234);
    // The flush leaves no temporary file behind.
    EXPECT_EQ(countFiles(), 1);
}

TEST_F(UserDefaultTest, MissingOrUnreadableValuesGiveTheDefault) {
    CCUserDefault* store = CCUserDefault::sharedUserDefault();
    EXPECT_EQ(store->getIntegerForKey("missing", 17), 17);
    EXPECT_EQ(store->getStringForKey("missing", "dflt"), "dflt");
    EXPECT_TRUE(store->getBoolForKey("missing", true));
    store->setStringForKey("text", "abc");
    EXPECT_EQ(store->getIntegerForKey("text", 5), 5);
    EXPECT_FLOAT_EQ(store->getFloatForKey("text", 2.5f), 2.5f);
    EXPECT_TRUE(store->getBoolForKey("text", true));
    store->setStringForKey("huge", "99999999999");
    EXPECT_EQ(store->getIntegerForKey("huge", 1), 1);
    EXPECT_EQ(store->getIntegerForKey(nullptr, 4), 4);
}

TEST_F(UserDefaultTest, KeysAndValuesAreArbitraryText) {
    const std::string awkwardKey = "ScreenPlayed-Level_1 <\"&'> \xC3\xA9";
    const std::string awkwardValue = "line one\nline\ttwo  \r\n<end> & \"quoted\"";
    CCUserDefault* store = CCUserDefault::sharedUserDefault();
    store->setIntegerForKey(awkwardKey.c_str(), 4);
    store->setStringForKey("9starts-with-digit", awkwardValue);
    store->setStringForKey("", "empty key");
    ASSERT_TRUE(store->flush());

    // Keys live in attribute values: the file must be well-formed XML with one entry per key.
    pugi::xml_document document;
    ASSERT_TRUE(document.load_file(folder.file("UserDefault.xml").c_str()));
    size_t entries = 0;
    for (pugi::xml_node node : document.document_element().children())
        entries += node.attribute("key") ? 1 : 0;
    EXPECT_EQ(entries, 3u);

    store = reopen();
    EXPECT_EQ(store->getIntegerForKey(awkwardKey.c_str()), 4);
    EXPECT_EQ(store->getStringForKey("9starts-with-digit"), awkwardValue);
    EXPECT_EQ(store->getStringForKey(""), "empty key");
}

TEST_F(UserDefaultTest, NumbersAreWrittenWithAPoint) {
    CommaDecimalLocale locale;
    if (!locale.active())
        GTEST_SKIP() << "no de_DE locale sources (package locales) to build a comma-decimal locale";
    CCUserDefault* store = CCUserDefault::sharedUserDefault();
    store->setFloatForKey("f", 0.5f);
    store->setDoubleForKey("d", -2.25);
    ASSERT_TRUE(store->flush());
    std::string text = folder.read("UserDefault.xml");
    EXPECT_NE(text.find("value=\"0.5\""), std::string::npos) << text;
    EXPECT_NE(text.find("value=\"-2.25\""), std::string::npos) << text;
    store = reopen();
    EXPECT_FLOAT_EQ(store->getFloatForKey("f"), 0.5f);
    EXPECT_DOUBLE_EQ(store->getDoubleForKey("d"), -2.25);
}

TEST_F(UserDefaultTest, PurgeFlushesUnsavedChanges) {
    CCUserDefault::sharedUserDefault()->setStringForKey("KXP_LockStates", "open");
    CCUserDefault::purgeSharedUserDefault();
    EXPECT_EQ(CCUserDefault::sharedUserDefault()->getStringForKey("KXP_LockStates"), "open");
}

TEST_F(UserDefaultTest, AStoreThatDoesNotParseIsMovedAside) {
    const std::string broken = "<userDefaultRoot><entry key=\"KXP_Scores\" value=\"12";
    folder.write("UserDefault.xml", broken);
    CCUserDefault* store = reopen();
    EXPECT_EQ(store->getStringForKey("KXP_Scores", "none"), "none");
    EXPECT_EQ(folder.read("UserDefault.xml.corrupt"), broken);
    store->setStringForKey("KXP_Scores", "fresh");
    ASSERT_TRUE(store->flush());
    EXPECT_EQ(folder.read("UserDefault.xml.corrupt"), broken);

    // A second bad store does not overwrite the first one set aside.
    folder.write("UserDefault.xml", "not xml at all");
    store = reopen();
    EXPECT_EQ(store->getStringForKey("KXP_Scores", "none"), "none");
    EXPECT_EQ(folder.read("UserDefault.xml.corrupt"), broken);
    EXPECT_EQ(folder.read("UserDefault.xml.corrupt.1"), "not xml at all");
}

TEST_F(UserDefaultTest, AWellFormedFileOfTheWrongShapeIsMovedAside) {
    folder.write("UserDefault.xml", "<?xml version=\"1.0\"?><other/>");
    CCUserDefault* store = reopen();
    EXPECT_EQ(store->getStringForKey("x", "none"), "none");
    EXPECT_EQ(folder.read("UserDefault.xml.corrupt"), "<?xml version=\"1.0\"?><other/>");
}

TEST_F(UserDefaultTest, FlushIntoAMissingFolderFailsAndSaysSo) {
    CCUserDefault::setXMLFilePath(folder.file("no/such/folder/UserDefault.xml"));
    CCUserDefault::sharedUserDefault()->setIntegerForKey("a", 1);
    EXPECT_FALSE(CCUserDefault::sharedUserDefault()->flush());
}

TEST_F(UserDefaultTest, AProcessKilledDuringFlushLeavesTheOldOrTheNewStore) {
    const int keyCount = 300;
    const std::string padding(200, 'p');
    auto writeGeneration = [&](CCUserDefault* store, int generation) {
        for (int key = 0; key < keyCount; ++key)
            store->setStringForKey(("key-" + std::to_string(key)).c_str(),
                                   std::to_string(generation) + padding);
        return store->flush();
    };
    ASSERT_TRUE(writeGeneration(CCUserDefault::sharedUserDefault(), 0));

    for (int round = 0; round < 12; ++round) {
        pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            CCUserDefault* store = CCUserDefault::sharedUserDefault();
            for (int generation = 1;; ++generation)
                writeGeneration(store, generation);
        }
        // Kill at a different point of the write each round.
        ::usleep(static_cast<useconds_t>(2000 + round * 1700));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);

        // Whatever moment the child died at, the store is one complete generation.
        pugi::xml_document document;
        ASSERT_TRUE(document.load_file(folder.file("UserDefault.xml").c_str())) << "round " << round;
        int entries = 0;
        std::string generation;
        bool consistent = true;
        for (pugi::xml_node entry : document.child("userDefaultRoot").children("entry")) {
            std::string value = entry.attribute("value").value();
            std::string prefix = value.substr(0, value.size() - padding.size());
            if (generation.empty())
                generation = prefix;
            consistent = consistent && prefix == generation && value.size() > padding.size();
            ++entries;
        }
        EXPECT_EQ(entries, keyCount) << "round " << round;
        EXPECT_TRUE(consistent) << "round " << round;
    }
    // The parent's own store can still be read and written.
    CCUserDefault* store = reopen();
    EXPECT_FALSE(store->getStringForKey("key-0").empty());
    EXPECT_TRUE(writeGeneration(store, 99));
}
