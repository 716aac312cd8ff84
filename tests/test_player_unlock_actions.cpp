// What an unlocker on a screen unlocks: a named lock-state entry, the lock buttons of the level
// section the running level started from or of the one after it, and characters by name. Also
// which level section follows another.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "model/classes/KXModelAssetCharacter.h"
#include "model/classes/KXModelLevelSection.h"
#include "model/classes/KXModelObjectLockButton.h"
#include "model/classes/KXModelObjectUnlocker.h"
#include "model/classes/KXModelQueries.h"
#include "model/classes/KXModelScreenScene.h"
#include "player/screens/KXPUnlockActions.h"
#include "support/progress_test_support.h"
#include "support/state_guards.h"

namespace {

class UnlockActions : public kxtest::ProgressTest {
protected:
    std::shared_ptr<KXModelObjectUnlocker> unlocker(const std::string& type, const std::string& object) {
        auto model = createModel<KXModelObjectUnlocker>();
        setText(*model, "Unlock Type", type);
        setText(*model, "Object", object);
        return model;
    }
    std::shared_ptr<KXModelObjectLockButton>
    lockButton(const std::string& name, const std::string& destination, const std::string& scene) {
        auto model = createModel<KXModelObjectLockButton>();
        model->setName(name);
        setText(*model, "Destination", destination);
        setText(*model, "Scene", scene);
        return model;
    }
    std::shared_ptr<KXModelLevelSection> section(const std::shared_ptr<KXModelScreenScene>& scene) {
        auto model = createModel<KXModelLevelSection>();
        if (scene) {
            scene->addChild(model, true);
        }
        return model;
    }
    static bool locked(const std::string& name) { return lockStateTable().at(name); }
    static int idOf(const std::shared_ptr<KXModelLevelSection>& model) {
        return static_cast<int>(model->id());
    }
};

TEST_F(UnlockActions, TheNextSectionIsTheFollowingOneOfTheSameScene) {
    auto first = createModel<KXModelScreenScene>();
    auto second = createModel<KXModelScreenScene>();
    auto a1 = section(first);
    auto a2 = section(first);
    auto b1 = section(second);
    auto a3 = section(first);
    KXPScreensController* screens = KXPScreensController::shared();
    EXPECT_EQ(screens->nextLevelSectionId(idOf(a1)), idOf(a2));
    EXPECT_EQ(screens->nextLevelSectionId(idOf(a2)), idOf(a3));
    EXPECT_EQ(screens->nextLevelSectionId(idOf(a3)), 0);
    EXPECT_EQ(screens->nextLevelSectionId(idOf(b1)), 0);
    EXPECT_EQ(screens->nextLevelSectionId(0), 0);
    EXPECT_EQ(screens->nextLevelSectionId(idOf(a3) + 100), 0);
}

TEST_F(UnlockActions, ANamedObjectUnlocksExactlyThatEntryCreatingIt) {
    lockState("Castle") = true;
    KXPUnlockActions::run(*unlocker("kButtonUnlock", "Castle"));
    KXPUnlockActions::run(*unlocker("kButtonUnlock", "Bonus Stage"));
    EXPECT_FALSE(locked("Castle"));
    EXPECT_FALSE(locked("Bonus Stage"));
    EXPECT_EQ(lockStateTable().size(), 2u);

    // Other types, or no object, change nothing.
    KXPUnlockActions::run(*unlocker("kCharacterUnlock", "Forest"));
    KXPUnlockActions::run(*unlocker("kSomethingElse", "Forest"));
    KXPUnlockActions::run(*unlocker("kButtonUnlock", ""));
    EXPECT_EQ(lockStateTable().size(), 2u);
}

TEST_F(UnlockActions, CurrentAndNextUnlockTheSceneLockButtonsOfThatSection) {
    auto scene = createModel<KXModelScreenScene>();
    auto level1 = section(scene);
    auto level2 = section(scene);
    const std::string one = std::to_string(idOf(level1));
    const std::string two = std::to_string(idOf(level2));
    lockButton("Level 1", "kSceneDestination", one);
    lockButton("Level 2", "kSceneDestination", two);
    // Leads on from level 1, but not to a scene by its "Scene": never unlocked by the id rule.
    lockButton("Onwards", "kNextSceneDestination", two);
    // The same id with leading zeros is another text.
    lockButton("Padded", "kSceneDestination", "0" + two);

    KXPScreensController::shared()->setCurrentLevelSectionId(idOf(level1));
    KXPUnlockActions::unlockScene(*unlocker("kButtonUnlock", "kUnlockCurrent"));
    EXPECT_FALSE(locked("Level 1"));
    EXPECT_EQ(lockStateTable().count("Level 2"), 0u);

    KXPUnlockActions::unlockScene(*unlocker("kButtonUnlock", "kUnlockNext"));
    EXPECT_FALSE(locked("Level 2"));
    EXPECT_EQ(lockStateTable().count("Onwards"), 0u);
    EXPECT_EQ(lockStateTable().count("Padded"), 0u);

    // Nothing was saved yet: the table goes out with the next save.
    EXPECT_EQ(storedText("KXP_LockStates"), "");
}

TEST_F(UnlockActions, NextOnTheLastSectionUnlocksOnlyButtonsWhoseSceneIsZero) {
    auto scene = createModel<KXModelScreenScene>();
    auto last = section(scene);
    lockButton("Last", "kSceneDestination", std::to_string(idOf(last)));
    lockButton("Nowhere", "kSceneDestination", "0");
    KXPScreensController::shared()->setCurrentLevelSectionId(idOf(last));
    KXPUnlockActions::unlockScene(*unlocker("kButtonUnlock", "kUnlockNext"));
    EXPECT_EQ(lockStateTable().count("Last"), 0u);
    EXPECT_FALSE(locked("Nowhere"));
}

TEST_F(UnlockActions, SectionIdsPastTheIntRangeUnlockTheButtonsThatWriteThemInDecimal) {
    auto scene = createModel<KXModelScreenScene>();
    const kxtest::ScopedIdCounter ids(0x80000004u);
    auto current = section(scene);
    auto next = section(scene);
    ASSERT_EQ(current->id(), 2147483653u);
    lockButton("Current", "kSceneDestination", "2147483653");
    lockButton("Next", "kSceneDestination", "2147483654");
    KXPScreensController::shared()->setCurrentLevelSectionId(current->id());

    KXPUnlockActions::unlockScene(*unlocker("kButtonUnlock", "kUnlockCurrent"));
    ASSERT_EQ(lockStateTable().count("Current"), 1u);
    EXPECT_FALSE(locked("Current"));
    EXPECT_EQ(lockStateTable().count("Next"), 0u);
    KXPUnlockActions::unlockScene(*unlocker("kButtonUnlock", "kUnlockNext"));
    ASSERT_EQ(lockStateTable().count("Next"), 1u);
    EXPECT_FALSE(locked("Next"));
}

TEST_F(UnlockActions, EveryCharacterOfThatNameIsUnlockedAndSaved) {
    auto first = createModel<KXModelAssetCharacter>();
    auto other = createModel<KXModelAssetCharacter>();
    auto second = createModel<KXModelAssetCharacter>();
    first->setName("Ninja");
    other->setName("Knight");
    second->setName("Ninja");
    for (const auto& character : {first, other, second}) {
        character->purchaseMethodAttribute()->setValue("kInGameCurrency", true);
    }

    KXPUnlockActions::run(*unlocker("kCharacterUnlock", "Ninja"));
    EXPECT_TRUE(settings()->isCharacterUnlocked(0));
    EXPECT_FALSE(settings()->isCharacterUnlocked(1));
    EXPECT_TRUE(settings()->isCharacterUnlocked(2));
    EXPECT_TRUE(lockStateTable().empty());
    // Saved: the next run reads them back.
    cocos2d::CCUserDefault::purgeSharedUserDefault();
    KXPSettingsController::purgeShared();
    settings()->load();
    EXPECT_TRUE(settings()->isCharacterUnlocked(0));
    EXPECT_FALSE(settings()->isCharacterUnlocked(1));
    EXPECT_TRUE(settings()->isCharacterUnlocked(2));

    // A name no character has, and the scene type, unlock no character.
    KXPUnlockActions::run(*unlocker("kCharacterUnlock", "Wizard"));
    KXPUnlockActions::run(*unlocker("kButtonUnlock", "Knight"));
    EXPECT_FALSE(settings()->isCharacterUnlocked(1));
}

} // namespace
