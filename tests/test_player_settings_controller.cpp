// The stored preferences of the settings controller and the game-over delay of the selected
// character.
#include <gtest/gtest.h>

#include "cocos2d.h"
#include "model/attributes/KXAttributeNumbers.h"
#include "model/classes/KXModelAssetCharacter.h"
#include "model/classes/KXModelQueries.h"
#include "player/KXPSettingsController.h"
#include "support/model_test_models.h"
#include "support/temp_folder.h"

using cocos2d::CCUserDefault;

namespace {

class SettingsController : public ::testing::Test {
protected:
    void SetUp() override {
        resetModelCore();
        CCUserDefault::setXMLFilePath(m_folder.file("UserDefault.xml"));
        KXPSettingsController::purgeShared();
    }
    void TearDown() override {
        KXPSettingsController::purgeShared();
        CCUserDefault::setXMLFilePath("");
        resetModelCore();
    }

    TempFolder m_folder;
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
}

TEST_F(SettingsController, LoadReadsTheStoredPreferences) {
    CCUserDefault* store = CCUserDefault::sharedUserDefault();
    store->setIntegerForKey("KXP_selectedCharacter", 2);
    store->setBoolForKey("KXP_removeAds", true);
    store->setBoolForKey("KXP_fullscreen", true);
    store->setBoolForKey("KXP_muteBackgroundSound", true);
    ASSERT_TRUE(store->flush());
    CCUserDefault::purgeSharedUserDefault();

    KXPSettingsController* settings = KXPSettingsController::shared();
    settings->load();
    EXPECT_EQ(settings->selectedCharacter(), 2);
    EXPECT_TRUE(settings->isRemoveAds());
    EXPECT_TRUE(settings->isFullscreen());
    EXPECT_TRUE(settings->muteBackground);
    EXPECT_FALSE(settings->muteEffects);

    // A fresh instance starts from defaults until it loads.
    KXPSettingsController::purgeShared();
    EXPECT_EQ(KXPSettingsController::shared()->selectedCharacter(), 0);
}

TEST_F(SettingsController, StoredIndexOutsideTheCharacterListGivesTheFallbackDelay) {
    for (int i = 0; i < 2; ++i) {
        createModel<KXModelAssetCharacter>()->gameOverDelayAttribute()->setValue(2.5f, true);
    }
    KXPSettingsController* settings = KXPSettingsController::shared();
    settings->setSelectedCharacter(1);
    EXPECT_FLOAT_EQ(selectedCharacterGameOverDelay(), 2.5f);

    // A damaged store can hold a negative index: it is no character, not an error.
    CCUserDefault::sharedUserDefault()->setIntegerForKey("KXP_selectedCharacter", -4);
    settings->load();
    EXPECT_EQ(settings->selectedCharacter(), -4);
    EXPECT_FLOAT_EQ(selectedCharacterGameOverDelay(), 1.0f);
    settings->setSelectedCharacter(2);
    EXPECT_FLOAT_EQ(selectedCharacterGameOverDelay(), 1.0f);
}

} // namespace
