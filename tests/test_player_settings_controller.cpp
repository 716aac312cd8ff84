// The settings controller against a real store file under a temporary HOME: preferences, the
// stored tables, refill timers, inventory, characters, play counters, save, load and reset.
#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <string>
#include <sys/stat.h>

#include "cocos2d.h"
#include "model/KXDebugLog.h"
#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelAssetCharacter.h"
#include "model/classes/KXModelAssetPowerup.h"
#include "model/classes/KXModelGeneralSettings.h"
#include "model/classes/KXModelObjectButtonPowerup.h"
#include "model/classes/KXModelQueries.h"
#include "model/classes/KXModelScreen.h"
#include "player/base/KXPGameDataLoaded.h"
#include "player/store/KXPCheckpointTable.h"
#include "player/store/KXPLockStateTable.h"
#include "player/store/KXPScoreTable.h"
#include "player/store/KXPSettingsController.h"
#include "support/model_test_models.h"
#include "support/state_guards.h"
#include "support/temp_folder.h"

using cocos2d::CCUserDefault;

namespace {

// Sets an environment variable for the fixture's lifetime.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : m_name(name) {
        const char* old = std::getenv(name);
        m_had = old != nullptr;
        m_old = old ? old : "";
        if (value) {
            ::setenv(name, value, 1);
        } else {
            ::unsetenv(name);
        }
    }
    ~ScopedEnv() {
        if (m_had) {
            ::setenv(m_name.c_str(), m_old.c_str(), 1);
        } else {
            ::unsetenv(m_name.c_str());
        }
    }

private:
    std::string m_name;
    std::string m_old;
    bool m_had = false;
};

class SettingsController : public ::testing::Test {
protected:
    void SetUp() override {
        resetModelCore();
        clearScores();
        lockStateTable().clear();
        clearCheckpoints();
        // The store resolves under the temporary HOME, as the player's does.
        CCUserDefault::setXMLFilePath("");
        KXPSettingsController::purgeShared();
        setGameDataLoaded(false);
    }
    void TearDown() override {
        KXPSettingsController::purgeShared();
        setGameDataLoaded(false);
        CCUserDefault::setXMLFilePath("");
        clearScores();
        lockStateTable().clear();
        clearCheckpoints();
        resetModelCore();
    }

    CCUserDefault* store() { return CCUserDefault::sharedUserDefault(); }
    // As if the game had been closed: the store is written and read again from its file.
    void reopenStore() {
        store()->flush();
        CCUserDefault::purgeSharedUserDefault();
    }
    // A fresh controller that has read the store.
    KXPSettingsController* restart() {
        reopenStore();
        KXPSettingsController::purgeShared();
        KXPSettingsController* settings = KXPSettingsController::shared();
        settings->load();
        return settings;
    }
    std::string storePath() const { return m_home.path() + "/.local/share/kxplayer/default/UserDefault.xml"; }

    std::shared_ptr<KXModelAssetCharacter> addCharacter(const std::string& purchaseMethod) {
        std::shared_ptr<KXModelAssetCharacter> character = createModel<KXModelAssetCharacter>();
        character->purchaseMethodAttribute()->setValue(purchaseMethod, true);
        return character;
    }

    TempFolder m_home;
    ScopedEnv m_homeEnv{"HOME", m_home.path().c_str()};
    ScopedEnv m_xdgEnv{"XDG_DATA_HOME", nullptr};
    int64_t m_now = 1700000000;
    kxtest::ScopedClock clockGuard{[this] { return static_cast<double>(m_now); }};
};

TEST_F(SettingsController, AnEmptyStoreGivesDefaults) {
    KXPSettingsController* settings = KXPSettingsController::shared();
    ASSERT_NE(settings, nullptr);
    EXPECT_EQ(KXPSettingsController::shared(), settings);
    settings->load();
    EXPECT_EQ(settings->selectedCharacter(), 0);
    EXPECT_FALSE(settings->isRemoveAds());
    EXPECT_FALSE(settings->isFullscreen());
    EXPECT_FALSE(settings->muteEffects);
    EXPECT_TRUE(settings->refillRecords().empty());
    EXPECT_TRUE(scoreTable().empty());
    EXPECT_EQ(settings->refillTimeLeft(3), 0);
}

TEST_F(SettingsController, SavedValuesComeBackInAFreshController) {
    setGameDataLoaded(true);
    KXModelGeneralSettings::shared()->zdVersionAttribute()->setValue("2.4", true);
    KXPSettingsController* settings = KXPSettingsController::shared();
    settings->setSelectedCharacter(2);
    settings->setRemoveAds(true);
    settings->setFullscreen(true);
    settings->muteBackground = true;
    settings->unlockCharacter(4);
    settings->setInventoryCount(11, 5);
    worldScores("Level 1").points.best = 30;
    lockState("Level 2") = false;
    checkpointRecord("Level 1").levelSectionId = 8;
    settings->save();
    EXPECT_EQ(store()->getStringForKey("ZD_Version"), "2.4");

    clearScores();
    lockStateTable().clear();
    clearCheckpoints();
    settings = restart();
    EXPECT_EQ(settings->selectedCharacter(), 2);
    EXPECT_TRUE(settings->isRemoveAds());
    EXPECT_TRUE(settings->isFullscreen());
    EXPECT_TRUE(settings->muteBackground);
    EXPECT_FALSE(settings->muteEffects);
    EXPECT_TRUE(settings->isCharacterUnlocked(4));
    EXPECT_EQ(settings->inventoryCount(11), 5);
    EXPECT_EQ(worldScores("Level 1").points.best, 30);
    EXPECT_FALSE(lockState("Level 2"));
    EXPECT_EQ(checkpointRecord("Level 1").levelSectionId, 8);
}

TEST_F(SettingsController, SavingBeforeLoadingFinishedWritesNothing) {
    store()->setBoolForKey("KXP_fullscreen", false);
    store()->setStringForKey("KXP_Scores", "w:1 2 3 4 5 6");
    reopenStore();
    const std::string before = m_home.read(".local/share/kxplayer/default/UserDefault.xml");
    ASSERT_FALSE(before.empty());

    KXPSettingsController* settings = KXPSettingsController::shared();
    settings->load();
    settings->setFullscreen(true);
    worldScores("w").points.best = 1000;
    KXDebugLogCapture log;
    settings->save();
    EXPECT_TRUE(log.contains("[KXPSettingsController] - save while not loaded  = reset - issue prevented"));
    CCUserDefault::purgeSharedUserDefault();
    EXPECT_EQ(m_home.read(".local/share/kxplayer/default/UserDefault.xml"), before);
}

TEST_F(SettingsController, AFailedSaveSaysSoAndKeepsTheProgressForTheRun) {
    // A plain file where the player's store folders go: no store can be written.
    ASSERT_EQ(::mkdir((m_home.path() + "/.local").c_str(), 0700), 0);
    ASSERT_EQ(::mkdir((m_home.path() + "/.local/share").c_str(), 0700), 0);
    m_home.write(".local/share/kxplayer", "not a folder");
    setGameDataLoaded(true);
    KXPSettingsController* settings = KXPSettingsController::shared();
    settings->setSelectedCharacter(3);
    KXDebugLogCapture log;
    settings->save();
    EXPECT_TRUE(
        log.contains("[KXPSettingsController] - save failed: progress is kept in memory for this run"));
    EXPECT_FALSE(log.contains("[KXPSettingsController] - save complete"));
    EXPECT_EQ(store()->getIntegerForKey("KXP_selectedCharacter"), 3);
    EXPECT_EQ(m_home.read(".local/share/kxplayer"), "not a folder");
}

TEST_F(SettingsController, TheScoreReaderFollowsTheStoredVersion) {
    store()->setStringForKey("KXP_Scores", "w:1.5 2.5 3 4 5 6");
    KXPSettingsController* settings = restart();
    EXPECT_EQ(worldScores("w").distance.total, 2.5f);
    EXPECT_EQ(worldScores("w").coins.total, 6);

    store()->setStringForKey("ZD_Version", "1.7");
    store()->setStringForKey("KXP_Scores", "w:1 2 1 9 8 7 3 4 0 5 6 0");
    settings->load();
    ASSERT_NE(worldScores("w").distance.backup(), nullptr);
    EXPECT_EQ(worldScores("w").distance.backup()->values[0], 9.0f);
    EXPECT_EQ(worldScores("w").points.total, 4);
}

TEST_F(SettingsController, NamesWithSeparatorsSurviveTheStore) {
    setGameDataLoaded(true);
    const std::string name = "Act 1: Dawn; part %2";
    worldScores(name).coins.best = 12;
    lockState(name) = false;
    checkpointRecord(name).levelSectionId = 3;
    KXPSettingsController::shared()->save();
    clearScores();
    lockStateTable().clear();
    clearCheckpoints();
    restart();
    EXPECT_EQ(scoreTable().size(), 1u);
    EXPECT_EQ(worldScores(name).coins.best, 12);
    EXPECT_EQ(lockStateTable().size(), 1u);
    EXPECT_FALSE(lockState(name));
    EXPECT_EQ(checkpointRecord(name).levelSectionId, 3);
}

TEST_F(SettingsController, ARefillThatRanOutWhileClosedGrantsOneUseThenRestarts) {
    store()->setIntegerForKey("KXP_RefillPowerup_count", 1);
    // Powerup 7 refills up to 3 every 600 s; the game was closed for over an hour.
    store()->setStringForKey("KXP_RefillPowerup_0", "7:3:600:" + std::to_string(m_now - 4000));
    store()->setIntegerForKey("KXP_Inventory_count", 1);
    store()->setStringForKey("KXP_Inventory_0", "7:0");
    KXPSettingsController* settings = restart();
    ASSERT_EQ(settings->refillRecords().size(), 1u);
    EXPECT_EQ(settings->refillTimeLeft(7), 0);

    settings->update(1.0f);
    EXPECT_EQ(settings->inventoryCount(7), 1);
    ASSERT_EQ(settings->refillRecords().count(7), 1u);
    EXPECT_EQ(settings->refillRecords().at(7).start, m_now);
    EXPECT_EQ(settings->refillTimeLeft(7), 600);
    settings->update(1.0f);
    EXPECT_EQ(settings->inventoryCount(7), 1);

    // At the count the timer ends without a restart.
    settings->setInventoryCount(7, 2);
    m_now += 600;
    settings->update(1.0f);
    EXPECT_EQ(settings->inventoryCount(7), 3);
    EXPECT_TRUE(settings->refillRecords().empty());
}

TEST_F(SettingsController, StartRefillKeepsARunningTimerAndAFullInventory) {
    KXPSettingsController* settings = KXPSettingsController::shared();
    settings->setInventoryCount(5, 2);
    settings->startRefill(5, 10, 2);
    EXPECT_TRUE(settings->refillRecords().empty());
    settings->startRefill(5, 10, 4);
    ASSERT_EQ(settings->refillRecords().size(), 1u);
    EXPECT_EQ(settings->refillRecords().at(5).period, 600);
    m_now += 100;
    settings->startRefill(5, 1, 9);
    EXPECT_EQ(settings->refillRecords().at(5).period, 600);
    EXPECT_EQ(settings->refillTimeLeft(5), 500);

    // A clock set back shows at most one period; a clock far ahead shows 0.
    m_now -= 100000;
    EXPECT_EQ(settings->refillTimeLeft(5), 600);
    m_now += 200000;
    EXPECT_EQ(settings->refillTimeLeft(5), 0);
    // An unknown powerup id reading its inventory is inserted with 0.
    settings->startRefill(6, 1, 1);
    EXPECT_EQ(settings->inventoryCount(6), 0);
    EXPECT_EQ(settings->refillRecords().count(6), 1u);
}

TEST_F(SettingsController, FewerRecordsAfterMoreLeaveOldKeysUnread) {
    setGameDataLoaded(true);
    KXPSettingsController* settings = KXPSettingsController::shared();
    for (uint32_t id = 1; id <= 3; ++id) {
        settings->startRefill(id, 5, 1);
    }
    settings->save();
    settings->reset(false);
    settings->startRefill(9, 5, 1);
    settings->save();
    EXPECT_EQ(store()->getIntegerForKey("KXP_RefillPowerup_count"), 1);
    EXPECT_FALSE(store()->getStringForKey("KXP_RefillPowerup_1").empty());
    EXPECT_FALSE(store()->getStringForKey("KXP_RefillPowerup_2").empty());
    settings = restart();
    ASSERT_EQ(settings->refillRecords().size(), 1u);
    EXPECT_EQ(settings->refillRecords().count(9), 1u);
}

TEST_F(SettingsController, DamagedRecordsReadAsZeroAndCountsStopAtTheFirstGap) {
    store()->setIntegerForKey("KXP_Inventory_count", 2000000000);
    store()->setStringForKey("KXP_Inventory_0", "4:7");
    store()->setStringForKey("KXP_Inventory_1", "5");
    store()->setStringForKey("KXP_Inventory_3", "6:6"); // after the gap: not read
    store()->setIntegerForKey("KXP_RefillPowerup_count", INT_MAX);
    store()->setStringForKey("KXP_RefillPowerup_0", "8:x:60");
    store()->setIntegerForKey("KXP_Characters_count", -5);
    store()->setStringForKey("KXP_Character_0", "0:1");
    KXPSettingsController* settings = restart();
    EXPECT_EQ(settings->inventoryCount(4), 7);
    EXPECT_EQ(settings->inventoryCount(5), 0);
    ASSERT_EQ(settings->refillRecords().count(8), 1u);
    const KXPSettingsController::RefillRecord& record = settings->refillRecords().at(8);
    EXPECT_EQ(record.count, 0);
    EXPECT_EQ(record.period, 60);
    EXPECT_EQ(record.start, 0);
    EXPECT_FALSE(settings->refillRecords().count(6));
}

TEST_F(SettingsController, CharactersDefaultToTheirPurchaseMethod) {
    // Without character assets nothing is unlocked but the first (which reset marks).
    KXPSettingsController* settings = KXPSettingsController::shared();
    EXPECT_TRUE(settings->isCharacterUnlocked(0));
    EXPECT_FALSE(settings->isCharacterUnlocked(1));

    addCharacter("kInGameCurrency");
    addCharacter("kFree");
    addCharacter("kInAppPurchase");
    addCharacter("kFree");
    settings->reset(false);
    EXPECT_FALSE(settings->isCharacterUnlocked(0));
    EXPECT_TRUE(settings->isCharacterUnlocked(1));
    EXPECT_FALSE(settings->isCharacterUnlocked(2));
    settings->unlockCharacter(2);
    EXPECT_TRUE(settings->isCharacterUnlocked(2));
    EXPECT_FALSE(settings->isCharacterUnlocked(40));

    // A character the table does not hold yet is stored as its method says.
    KXPSettingsController::purgeShared();
    resetModelCore();
    settings = KXPSettingsController::shared();
    addCharacter("kFree");
    addCharacter("kFree");
    EXPECT_TRUE(settings->isCharacterUnlocked(1));
    setGameDataLoaded(true);
    settings->save();
    EXPECT_EQ(store()->getStringForKey("KXP_Character_1"), "1:1");
}

TEST_F(SettingsController, ResetWithPurgeRemovesOnlyTheStoreFile) {
    setGameDataLoaded(true);
    KXPSettingsController* settings = KXPSettingsController::shared();
    settings->setFullscreen(true);
    settings->setSelectedCharacter(3);
    settings->save();
    m_home.write(".local/share/kxplayer/default/keep.txt", "mine");
    struct stat info;
    ASSERT_EQ(::stat(storePath().c_str(), &info), 0);

    settings->reset(true);
    EXPECT_NE(::stat(storePath().c_str(), &info), 0);
    EXPECT_EQ(m_home.read(".local/share/kxplayer/default/keep.txt"), "mine");
    EXPECT_EQ(settings->selectedCharacter(), 0);
    // Flags stay in memory; a later load finds only defaults.
    EXPECT_TRUE(settings->isFullscreen());
    settings->load();
    EXPECT_FALSE(settings->isFullscreen());
}

TEST_F(SettingsController, PowerupButtonsOfScreensFillTheDefaultInventory) {
    std::shared_ptr<KXModelAssetPowerup> powerup = createModel<KXModelAssetPowerup>();
    std::shared_ptr<KXModelAssetPowerup> other = createModel<KXModelAssetPowerup>();
    std::shared_ptr<KXModelScreen> screen = createModel<KXModelScreen>();
    auto addButton = [&](const std::shared_ptr<KXModelAssetPowerup>& target, float maxRefill, bool onScreen) {
        std::shared_ptr<KXModelObjectButtonPowerup> button = createModel<KXModelObjectButtonPowerup>();
        button->actionAttribute()->setValue(std::to_string(target->id()), true);
        button->maxRefillAttribute()->setValue(maxRefill, true);
        if (onScreen) {
            screen->addChild(button, true);
        }
    };
    addButton(powerup, 3.9f, true);
    addButton(other, 5.0f, false); // not on a screen: skipped

    store()->setIntegerForKey("KXP_Inventory_count", 1);
    store()->setStringForKey("KXP_Inventory_0", std::to_string(other->id()) + ":1");
    KXPSettingsController* settings = restart();
    EXPECT_EQ(settings->inventoryCount(powerup), 3);
    EXPECT_EQ(settings->inventoryCount(other), 1);
    EXPECT_EQ(settings->inventoryCount(std::shared_ptr<KXModelAssetPowerup>()), 0);
    settings->setInventoryCount(std::shared_ptr<KXModelAssetPowerup>(), 4);

    // The stored count wins over the default; a load does not forget what the store lacks.
    settings->setInventoryCount(powerup, 1);
    store()->setStringForKey("KXP_Inventory_0", std::to_string(powerup->id()) + ":2");
    settings->setInventoryCount(77, 9);
    settings->load();
    EXPECT_EQ(settings->inventoryCount(powerup), 2);
    EXPECT_EQ(settings->inventoryCount(77), 9);
}

TEST_F(SettingsController, PlayCountersAreWrittenAtOnceUnderTheirKey) {
    KXPSettingsController* settings = KXPSettingsController::shared();
    EXPECT_EQ(settings->screenPlayedCount("Level One"), 0);
    settings->increaseScreenPlayedCount("Level One");
    settings->increaseScreenPlayedCount("Level One");
    EXPECT_EQ(settings->screenPlayedCount("Level One"), 2);
    // Flushed already, even though loading never finished.
    EXPECT_NE(m_home.read(".local/share/kxplayer/default/UserDefault.xml").find("ScreenPlayed-Level_One"),
              std::string::npos);
    store()->setIntegerForKey("ScreenPlayed-Max", INT_MAX);
    settings->increaseScreenPlayedCount("Max");
    EXPECT_EQ(settings->screenPlayedCount("Max"), INT_MAX);
}

TEST_F(SettingsController, BoughtAdRemovalStopsBanners) {
    std::shared_ptr<KXModelScreen> screen = createModel<KXModelScreen>();
    screen->adBannerAttribute()->setValue("kAdMob", true);
    screen->adBannerFrequencyAttribute()->setValue(0.0f, true);
    KXPSettingsController* settings = KXPSettingsController::shared();
    EXPECT_TRUE(screen->shouldShowBanner());
    settings->setRemoveAds(true);
    EXPECT_FALSE(screen->shouldShowBanner());
}

TEST_F(SettingsController, StoredIndexOutsideTheCharacterListGivesTheFallbackDelay) {
    for (int i = 0; i < 2; ++i) {
        createModel<KXModelAssetCharacter>()->gameOverDelayAttribute()->setValue(2.5f, true);
    }
    KXPSettingsController* settings = KXPSettingsController::shared();
    settings->setSelectedCharacter(1);
    EXPECT_FLOAT_EQ(selectedCharacterGameOverDelay(), 2.5f);

    // A damaged store can hold a negative index: it is no character, not an error.
    store()->setIntegerForKey("KXP_selectedCharacter", -4);
    settings->load();
    EXPECT_EQ(settings->selectedCharacter(), -4);
    EXPECT_FLOAT_EQ(selectedCharacterGameOverDelay(), 1.0f);
}

} // namespace
