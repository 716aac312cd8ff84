// The fixture of the suites that open screens and game scenes through the screens controller.
#pragma once

#include "cocos2d.h"
#include "player/app/KXPScreensController.h"
#include "player/input/KXPInputController.h"
#include "player/store/KXPCheckpointTable.h"
#include "player/store/KXPScoreTable.h"
#include "player/store/KXPSettingsController.h"
#include "support/model_test_models.h"
#include "support/scene_test_support.h"
#include "support/screen_graph.h"
#include "support/temp_folder.h"

namespace kxtest {

// A scene test at 60 frames a second over an empty model store, with no scores or checkpoints,
// fresh screens and settings controllers (a settings controller another suite left behind keeps
// the character table it made before this test's characters existed), the user-default store in a
// temporary folder and a screen graph to build in. TearDown leaves none of it to the next test:
// the controllers go and the store's path is the default again.
class ScreenTest : public SceneTest {
protected:
    ScreenGraph graph;
    TempFolder folder;

    void SetUp() override {
        SceneTest::SetUp();
        director()->setFixedDeltaTime(1.0f / 60.0f);
        resetModelCore();
        clearScores();
        clearCheckpoints();
        KXPScreensController::shared()->reset();
        KXPSettingsController::purgeShared();
        cocos2d::CCUserDefault::setXMLFilePath(folder.file("UserDefault.xml"));
    }

    void TearDown() override {
        SceneTest::TearDown();
        KXPScreensController::shared()->reset();
        KXPInputController::purgeShared();
        KXPSettingsController::purgeShared();
        cocos2d::CCUserDefault::setXMLFilePath("");
        clearScores();
        clearCheckpoints();
        resetModelCore();
    }

    static KXPScreensController* screens() { return KXPScreensController::shared(); }
};

} // namespace kxtest
