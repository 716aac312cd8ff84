// Event observers on UI screens of an in-memory screen graph: the timeout, the showing count of
// "kSecondPlay", the review arithmetic (no remainder by zero) and the review asked, the last
// level section among its siblings, which score record each score limit reads, and the start
// and the pause a firing observer's link asks of the game.

#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelLevelSection.h"
#include "model/classes/KXModelObjectEventObserver.h"
#include "model/classes/KXModelQueries.h"
#include "model/classes/KXModelScreenScene.h"
#include "player/app/KXPScreensController.h"
#include "player/field/KXPScreenScene.h"
#include "player/objects/KXPObjectEventObserver.h"
#include "player/screens/KXPScreenUi.h"
#include "player/store/KXPCheckpointTable.h"
#include "player/store/KXPScoreTable.h"
#include "player/store/KXPSettingsController.h"
#include "support/model_test_models.h"
#include "support/scene_test_support.h"
#include "support/screen_graph.h"
#include "support/screen_test_support.h"
#include "support/temp_folder.h"
#include "support/trace_lines.h"

#include "cocos2d.h"

#include <gtest/gtest.h>

using namespace cocos2d;

namespace {

class EventObserver : public kxtest::ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        // The menu's observer "Next" leads to the other screen.
        menu = graph.ui("menu");
        graph.ui("other");
        graph.start();
        graph.link("KXPScreenStart", "Load", "menu");
        graph.link("menu", "Next", "other");
    }

    std::shared_ptr<KXModelObjectEventObserver> observe(const std::string& type,
                                                        const std::string& link = "Next") {
        auto model = graph.object<KXModelObjectEventObserver>(*menu, "KXModelObjectEventObserver", link,
                                                              CCPointZero, 1);
        static_cast<KXAttributeString*>(model->attribute("Event Type"))->setValue(type, true);
        return model;
    }

    // The menu shown afresh (a new observer, armed) and run for a frame; the running level
    // started from that section.
    void showMenu(uint32_t sectionId = 0) {
        screens()->reset();
        screens()->setCurrentLevelSectionId(sectionId);
        ASSERT_TRUE(screens()->openUi("Load", false));
        CCScene* scene = screens()->currentScene();
        ASSERT_NE(scene, nullptr);
        director()->runWithScene(scene);
        frames(1);
    }

    static std::string shownKey() { return screens()->currentUiKey(); }

    std::shared_ptr<KXModelScreen> menu;
};

TEST_F(EventObserver, ATimeoutFiresOnceItsTimeHasPassed) {
    auto model = observe(KXPObjectEventObserver::kTimeout);
    static_cast<KXAttributeUInt*>(model->attribute("Time"))->setValue(2500u, true);
    showMenu();
    frames(140);
    EXPECT_EQ(shownKey(), "menu");
    frames(15);
    EXPECT_EQ(shownKey(), "other");

    // No time at all: the first update fires.
    static_cast<KXAttributeUInt*>(model->attribute("Time"))->setValue(0u, true);
    showMenu();
    frames(1);
    EXPECT_EQ(shownKey(), "other");
}

TEST_F(EventObserver, SecondPlayCountsTheShowingsBeforeThisOne) {
    auto model = observe(KXPObjectEventObserver::kSecondPlay);
    static_cast<KXAttributeFloat*>(model->attribute("Plays Before Redirect"))->setValue(2.0f, true);
    for (int showing = 1; showing <= 3; ++showing) {
        showMenu();
        frames(2);
        EXPECT_EQ(shownKey(), showing < 3 ? "menu" : "other") << showing;
    }
    EXPECT_EQ(KXPSettingsController::shared()->screenPlayedCount("menu"), 3);
}

TEST_F(EventObserver, AReviewIsDueEverySoManyShowingsAndNeverForZeroPlays) {
    for (int count : {2, 5, 8}) {
        EXPECT_TRUE(KXPObjectEventObserver::reviewDue(count, 3.0f)) << count;
    }
    for (int count : {0, 1, 3, 4, 6}) {
        EXPECT_FALSE(KXPObjectEventObserver::reviewDue(count, 3.0f)) << count;
    }
    // Only the divisor is truncated: the remainder is compared with the plays less one as they
    // are, so a count with a fraction never matches.
    for (int count = 0; count < 12; ++count) {
        EXPECT_FALSE(KXPObjectEventObserver::reviewDue(count, 3.5f)) << count;
    }
    // Plays that truncate to 0 or below ask for nothing (and divide by nothing).
    for (float plays : {0.0f, 0.9f, -3.0f}) {
        for (int count : {0, 1, 2, -1}) {
            EXPECT_FALSE(KXPObjectEventObserver::reviewDue(count, plays)) << plays << " " << count;
        }
    }
    // The observer itself counts the showings and asks for the review on the 3rd and the 6th,
    // once each, but never leaves the screen.
    auto model = observe(KXPObjectEventObserver::kRequestReview);
    static_cast<KXAttributeFloat*>(model->attribute("Plays Before Redirect"))->setValue(3.0f, true);
    for (int showing = 1; showing <= 6; ++showing) {
        kxtest::TraceLines trace("services");
        showMenu();
        frames(2);
        EXPECT_EQ(shownKey(), "menu");
        EXPECT_EQ(KXPSettingsController::shared()->screenPlayedCount("menu"), showing);
        const bool due = showing % 3 == 0;
        EXPECT_EQ(trace.lines(),
                  due ? std::vector<std::string>({"services request review"}) : std::vector<std::string>())
            << showing;
    }
}

TEST_F(EventObserver, TheLastSectionIsLastAmongTheSectionsOfItsOwnParent) {
    auto world = graph.scene("world");
    auto otherWorld = graph.scene("world2");
    auto section = [](const std::shared_ptr<KXModelScreen>& parent) {
        auto made = createModel<KXModelLevelSection>();
        if (parent) {
            parent->addChild(made, true);
        }
        return made;
    };
    auto first = section(world);
    auto second = section(world);
    auto foreign = section(otherWorld);
    auto third = section(world);
    auto orphan = section(nullptr);
    EXPECT_TRUE(KXPObjectEventObserver::isLastLevelSection(third->id()));
    EXPECT_FALSE(KXPObjectEventObserver::isLastLevelSection(second->id()));
    EXPECT_FALSE(KXPObjectEventObserver::isLastLevelSection(first->id()));
    EXPECT_TRUE(KXPObjectEventObserver::isLastLevelSection(foreign->id()));
    EXPECT_FALSE(KXPObjectEventObserver::isLastLevelSection(orphan->id()));
    EXPECT_FALSE(KXPObjectEventObserver::isLastLevelSection(0));

    // On a screen: started from the third the observer leads on, once.
    observe(KXPObjectEventObserver::kLastScene);
    showMenu(third->id());
    frames(1);
    EXPECT_EQ(shownKey(), "other");
    showMenu(second->id());
    frames(2);
    EXPECT_EQ(shownKey(), "menu");
}

TEST_F(EventObserver, CoinLimitsReadTheGlobalRecordAndTheOthersTheCurrentWorld) {
    screens()->setCurrentSceneKey("world");
    worldScores("").coins.session = 2;
    worldScores("world").coins.session = 10;
    worldScores("").distance.best = 1.0f;
    worldScores("world").distance.best = 400.0f;
    worldScores("world").points.total = 33;
    float figure = -1.0f;
    const char* line = nullptr;
    ASSERT_TRUE(KXPObjectEventObserver::scoreFigure("kScoreSessionCoins", &figure, &line));
    EXPECT_FLOAT_EQ(figure, 2.0f);
    EXPECT_STREQ(line, "[KXPObjectEventObserver] an event observer got session coins limit");
    ASSERT_TRUE(KXPObjectEventObserver::scoreFigure("kScoreBestDistance", &figure, &line));
    EXPECT_FLOAT_EQ(figure, 400.0f);
    ASSERT_TRUE(KXPObjectEventObserver::scoreFigure("kScoreTotalPoints", &figure, &line));
    EXPECT_FLOAT_EQ(figure, 33.0f);
    EXPECT_FALSE(KXPObjectEventObserver::scoreFigure("kScoreNothing", &figure, &line));
    screens()->setCurrentSceneKey("");

    // A limit of 0 holds at once for a figure of 0.
    auto limit = observe("kScoreSessionPoints");
    static_cast<KXAttributeFloat*>(limit->attribute("Limit Number"))->setValue(0.0f, true);
    showMenu();
    frames(1);
    EXPECT_EQ(shownKey(), "other");
}

// The link a firing observer follows into a game starts that game afresh, unless the observer's
// "Function" starts it from its checkpoint: the stored checkpoint stays only then.
TEST_F(EventObserver, OnlyACheckpointEventKeepsTheCheckpointOfTheGameItOpens) {
    auto world = graph.scene("world");
    graph.link("menu", "Play", "world");
    auto stored = createModel<KXModelLevelSection>();
    stored->widthAttribute()->setValue(800.0f, true);
    world->addChild(stored, true);
    auto model = observe(KXPObjectEventObserver::kTimeout, "Play");
    static_cast<KXAttributeUInt*>(model->attribute("Time"))->setValue(0u, true);
    for (const bool fromCheckpoint : {true, false}) {
        static_cast<KXAttributeString*>(model->attribute("Function"))
            ->setValue(fromCheckpoint ? KXPObjectEventObserver::kStartCheckpointEvent : "kNone", true);
        checkpointRecord("world").levelSectionId = static_cast<int32_t>(stored->id());
        showMenu();
        frames(2);
        ASSERT_NE(screens()->currentScreenScene(), nullptr) << fromCheckpoint;
        EXPECT_EQ(screens()->currentSceneKey(), "world");
        EXPECT_EQ(checkpointRecord("world").levelSectionId,
                  fromCheckpoint ? static_cast<int32_t>(stored->id()) : -1)
            << fromCheckpoint;
    }
}

// Over a running game, the screen an observer opens holds the game still exactly when the
// observer's "Pause Current World" asks it to.
TEST_F(EventObserver, OverARunningGameTheObserversScreenPausesItAsAsked) {
    graph.scene("world");
    graph.link("world", "UI", "menu");
    auto model = observe(KXPObjectEventObserver::kTimeout);
    static_cast<KXAttributeUInt*>(model->attribute("Time"))->setValue(100u, true);
    for (const bool pause : {true, false}) {
        static_cast<KXAttributeBool*>(model->attribute("Pause Current World"))->setValue(pause, true);
        screens()->reset();
        ASSERT_EQ(screens()->showScreens("world", "menu", 0), KXPScreensController::kNewScene);
        director()->runWithScene(screens()->currentScene());
        auto* field = dynamic_cast<KXPScreenScene*>(screens()->currentScreenScene());
        ASSERT_NE(field, nullptr);
        // The game entered, then held still or running the other way round.
        frames(1);
        field->setPaused(!pause);
        frames(11);
        EXPECT_EQ(shownKey(), "other") << pause;
        EXPECT_EQ(field->isPaused(), pause);
    }
}

} // namespace
