// Suites about the player's progress (coins, locks, characters, switches): the sound suites'
// set-up plus a store file of their own, empty score, lock-state and switch-state tables, saving
// allowed, and attribute setters by stored name for models whose attributes have no accessor.
#pragma once

#include <memory>
#include <string>

#include "cocos2d.h"
#include "model/KXModel.h"
#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributeString.h"
#include "player/app/KXPScreensController.h"
#include "player/base/KXPGameDataLoaded.h"
#include "player/store/KXPLockStateTable.h"
#include "player/store/KXPScoreTable.h"
#include "player/store/KXPSwitchStateTable.h"
#include "support/sound_test_support.h"
#include "support/temp_folder.h"

namespace kxtest {

class ProgressTest : public SoundTest {
protected:
    void SetUp() override {
        SoundTest::SetUp();
        resetTables();
        cocos2d::CCUserDefault::setXMLFilePath(m_folder.file("UserDefault.xml"));
        setGameDataLoaded(true);
    }
    void TearDown() override {
        setGameDataLoaded(false);
        cocos2d::CCUserDefault::purgeSharedUserDefault();
        cocos2d::CCUserDefault::setXMLFilePath("");
        resetTables();
        SoundTest::TearDown();
    }

    static void resetTables() {
        clearScores();
        lockStateTable().clear();
        clearSwitchStates();
        KXPScreensController::shared()->setCurrentSceneKey("");
        KXPScreensController::shared()->setCurrentLevelSectionId(0);
    }

    static KXPScoreCount& coins() { return worldScores("").coins; }

    // The store as the next run reads it.
    static std::string storedText(const char* key) {
        cocos2d::CCUserDefault::sharedUserDefault()->flush();
        cocos2d::CCUserDefault::purgeSharedUserDefault();
        return cocos2d::CCUserDefault::sharedUserDefault()->getStringForKey(key);
    }
    static int storedInteger(const char* key) {
        cocos2d::CCUserDefault::sharedUserDefault()->flush();
        cocos2d::CCUserDefault::purgeSharedUserDefault();
        return cocos2d::CCUserDefault::sharedUserDefault()->getIntegerForKey(key);
    }

    template <class A, class V> static void setAttribute(KXModel& model, const char* name, const V& value) {
        A* attribute = dynamic_cast<A*>(model.attribute(name));
        ASSERT_NE(attribute, nullptr) << name;
        attribute->setValue(value, true);
    }
    static void setText(KXModel& model, const char* name, const std::string& value) {
        setAttribute<KXAttributeString>(model, name, value);
    }
    static void setFloat(KXModel& model, const char* name, float value) {
        setAttribute<KXAttributeFloat>(model, name, value);
    }
    static void setBool(KXModel& model, const char* name, bool value) {
        setAttribute<KXAttributeBool>(model, name, value);
    }

    TempFolder m_folder;
};

} // namespace kxtest
