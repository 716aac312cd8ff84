// Text objects built from the label models of the sample game: the label's font, anchor, spacing
// and first text; its pose under the animation key; the autohide fade; score texts chosen by
// world, kind and amount; the loading counter while the game loads.

#include "model/KXDebugLog.h"
#include "model/attributes/KXAnimationCurve.h"
#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributePoint.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelFont.h"
#include "model/classes/KXModelLevelSection.h"
#include "model/classes/KXModelObjectLabel.h"
#include "player/app/KXPScreensController.h"
#include "player/objects/KXPObjectText.h"
#include "player/store/KXPScoreTable.h"
#include "support/sample_game_support.h"
#include "support/scene_test_support.h"

#include "cocos2d.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

using namespace cocos2d;

namespace {

KXAnimationCurve* constantCurve(float value) {
    auto* curve = new KXAnimationCurve();
    curve->addPoint(value, 0.0f);
    return curve;
}

class TextObject : public kxtest::SceneTest {
protected:
    kxtest::SampleGame game;
    std::shared_ptr<KXModelObjectLabel> model;

    void SetUp() override {
        kxtest::SceneTest::SetUp();
        std::string failure;
        if (!game.write(&failure)) {
            GTEST_SKIP() << failure;
        }
        ASSERT_TRUE(game.load(&failure)) << failure;
        clearScores();
        KXPScreensController::shared()->setCurrentSceneKey("");
        KXPScreensController::shared()->setCurrentLevelSectionId(0);
        model = game.named<KXModelObjectLabel>("Loading");
        ASSERT_TRUE(model);
        // The sample names its fonts by name; a label takes the font's id.
        useFont("Score Font");
        set(model->actionAttribute(), "");
        model->autohideAttribute()->setValue(0.0f, true);
        model->stickToEdgeAttribute()->setValue(false, true);
    }

    void TearDown() override {
        clearScores();
        kxtest::SceneTest::TearDown();
    }

    void useFont(const std::string& name) {
        const std::shared_ptr<KXModelFont> font = game.named<KXModelFont>(name);
        ASSERT_TRUE(font);
        set(model->fontAttribute(), std::to_string(font->id()));
    }

    static void set(KXAttributeString* attribute, const std::string& value) {
        attribute->setValue(value, true);
    }

    // A text object held by the test (screens hold theirs).
    KXPObjectText* make() {
        KXPObjectText* text = KXPObjectText::create(model);
        text->retain();
        held.push_back(text);
        text->update(0.0f);
        return text;
    }

    ~TextObject() override {
        for (KXPObjectText* text : held) {
            text->release();
        }
    }

    std::vector<KXPObjectText*> held;
};

TEST_F(TextObject, LabelTakesFontAnchorSpacingAndFirstText) {
    set(model->alignmentAttribute(), "kCCTextAlignmentLeft");
    model->trackingAttribute()->setValue(2.7f, true);
    model->zDepthAttribute()->setValue(4, true);
    KXPObjectText* text = make();
    ASSERT_NE(text->label(), nullptr);
    EXPECT_EQ(text->getType(), KXPObject::kTypeText);
    EXPECT_EQ(text->label()->getTag(), KXPObjectText::kLabelTag);
    EXPECT_EQ(text->label()->getZOrder(), 4);
    EXPECT_TRUE(text->label()->getAnchorPoint().equals(CCPoint(0.0f, 0.5f)));
    EXPECT_EQ(text->label()->getTracking(), 2);
    EXPECT_STREQ(text->label()->getString(), "0");

    set(model->alignmentAttribute(), "kCCTextAlignmentRight");
    model->trackingAttribute()->setValue(-1.5f, true);
    EXPECT_TRUE(make()->label()->getAnchorPoint().equals(CCPoint(1.0f, 0.5f)));
    EXPECT_EQ(held.back()->label()->getTracking(), -1);
    for (const char* centred : {"kCCTextAlignmentCenter", "", "kSomethingElse"}) {
        set(model->alignmentAttribute(), centred);
        EXPECT_TRUE(make()->label()->getAnchorPoint().equals(CCPoint(0.5f, 0.5f))) << centred;
    }

    // A custom text is centred whatever its alignment says, and shows its text.
    set(model->actionAttribute(), "kCustomVector");
    set(model->alignmentAttribute(), "kCCTextAlignmentLeft");
    set(model->textAttribute(), "Ready 42");
    KXPObjectText* custom = make();
    EXPECT_TRUE(custom->label()->getAnchorPoint().equals(CCPoint(0.5f, 0.5f)));
    EXPECT_STREQ(custom->label()->getString(), "Ready 42");
    custom->update(0.5f);
    EXPECT_STREQ(custom->label()->getString(), "Ready 42");
}

TEST_F(TextObject, StartSceneNameComesFromTheLevelTheGameStartedFrom) {
    set(model->actionAttribute(), "kStartSceneName");
    EXPECT_STREQ(make()->label()->getString(), "0");
    const auto section = game.named<KXModelLevelSection>("Section 2");
    ASSERT_TRUE(section);
    KXPScreensController::shared()->setCurrentLevelSectionId(static_cast<int>(section->id()));
    EXPECT_STREQ(make()->label()->getString(), "Section 2");
    // An id that names something else, or nothing, shows the placeholder.
    KXPScreensController::shared()->setCurrentLevelSectionId(static_cast<int>(model->id()));
    EXPECT_STREQ(make()->label()->getString(), "0");
    // Ids use the whole unsigned range.
    section->setId(0x80000005u);
    KXPScreensController::shared()->setCurrentLevelSectionId(0x80000005u);
    EXPECT_STREQ(make()->label()->getString(), "Section 2");
}

TEST_F(TextObject, AMissingFontLeavesAnEmptyTextAndOneLogLine) {
    for (const char* font : {"Title Font", "999999", ""}) {
        set(model->fontAttribute(), font);
        KXDebugLogCapture capture;
        KXPObjectText* text = make();
        EXPECT_EQ(text->label(), nullptr) << font;
        EXPECT_EQ(text->getChildrenCount(), 0u);
        EXPECT_EQ(capture.lines().size(), 1u) << font;
        text->update(5.0f);
        EXPECT_FLOAT_EQ(text->clock(), 5.0f);
    }

    // A font model whose file is gone.
    const std::shared_ptr<KXModelFont> font = game.named<KXModelFont>("Body Font");
    ASSERT_EQ(std::remove(font->fontFile().c_str()), 0);
    useFont("Body Font");
    KXDebugLogCapture capture;
    EXPECT_EQ(make()->label(), nullptr);
    EXPECT_EQ(capture.lines().size(), 1u);
}

TEST_F(TextObject, PoseFollowsTheKeyframesOfTheAnimationKey) {
    model->positionAttribute()->setValue(CCPoint(300.0f, 200.0f), true);
    model->positionAttribute()->setAnimationCurves({constantCurve(40.0f), constantCurve(-10.0f)}, 1);
    model->rotationAttribute()->setAnimationCurves({constantCurve(30.0f)}, 1);
    model->scaleAttribute()->setAnimationCurves({constantCurve(1.0f), constantCurve(0.5f)}, 1);
    KXPObjectText* text = make();
    CCLabelBMFont* label = text->label();
    ASSERT_NE(label, nullptr);
    EXPECT_TRUE(label->getPosition().equals(CCPoint(300.0f, 200.0f)));
    EXPECT_TRUE(text->getPosition().equals(CCPointZero)); // the label carries the pose

    text->setAnimationKey(1);
    text->update(0.0f);
    EXPECT_TRUE(label->getPosition().equals(CCPoint(340.0f, 190.0f)));
    EXPECT_FLOAT_EQ(label->getRotation(), 30.0f);
    EXPECT_FLOAT_EQ(label->getScaleX(), 2.0f);
    EXPECT_FLOAT_EQ(label->getScaleY(), 1.5f);

    // Opacity is the keyframed value times the object's factor, clamped.
    model->opacityAttribute()->setValue(0.5f, true);
    text->update(0.0f);
    EXPECT_EQ(label->getOpacity(), 127);
    text->setOpacityFactor(4.0f);
    text->update(0.0f);
    EXPECT_EQ(label->getOpacity(), 255);
    model->opacityAttribute()->setValue(-1.0f, true);
    text->update(0.0f);
    EXPECT_EQ(label->getOpacity(), 0);
}

TEST_F(TextObject, AutohideStartsOnceAndNotWhileHidden) {
    model->autohideAttribute()->setValue(3.0f, true);
    KXPObjectText* text = make();
    CCLabelBMFont* label = text->label();
    text->update(2.9f);
    EXPECT_FALSE(text->isFaded());
    EXPECT_EQ(label->numberOfRunningActions(), 0u);
    text->update(0.1f);
    EXPECT_TRUE(text->isFaded());
    EXPECT_EQ(label->numberOfRunningActions(), 1u);

    // The fade is in charge of the opacity from now on; no second fade starts.
    label->setOpacity(200);
    model->opacityAttribute()->setValue(0.2f, true);
    text->update(1.0f);
    EXPECT_EQ(label->getOpacity(), 200);
    EXPECT_EQ(label->numberOfRunningActions(), 1u);
    text->restoreInitialState();
    EXPECT_FLOAT_EQ(text->clock(), 0.0f);
    EXPECT_TRUE(text->isFaded());

    // A hidden text waits until it shows again.
    KXPObjectText* hidden = make();
    hidden->setVisible(false);
    hidden->update(10.0f);
    EXPECT_FALSE(hidden->isFaded());
    hidden->setVisible(true);
    hidden->update(0.0f);
    EXPECT_TRUE(hidden->isFaded());

    // Without autohide the opacity follows the model every frame.
    model->autohideAttribute()->setValue(0.0f, true);
    model->opacityAttribute()->setValue(1.0f, true);
    KXPObjectText* steady = make();
    steady->update(100.0f);
    EXPECT_FALSE(steady->isFaded());
    EXPECT_EQ(steady->label()->getOpacity(), 255);
}

TEST_F(TextObject, ScoreTextsPickWorldKindAndAmount) {
    set(model->actionAttribute(), "kScoreVector");
    KXPScoreRecord& global = worldScores("");
    global.points.session = 5;
    global.points.best = 70;
    global.points.total = 900;
    global.coins.best = 12;
    KXPScoreRecord& first = worldScores("Game Field Screen");
    first.points.session = 30;
    first.distance.session = 12.6f;
    first.distance.best = 99.4f;
    first.coins.session = 3;
    KXPScoreRecord& second = worldScores("Bonus World");
    second.points.session = 11;
    second.distance.session = 0.25f;
    second.coins.session = 4;

    struct Case {
        const char* world;
        const char* type;
        const char* amount;
        const char* shown;
    };
    const Case cases[] = {
        {"kGlobal", "kScorePoints", "kScoreTotal", "900"},
        {"kGlobal", "kScorePoints", "kScoreBest", "70"},
        {"kGlobal", "kScorePoints", "", "41"},             // the named worlds' sessions, not the global 5
        {"kGlobal", "kScoreDistance", "", "13"},           // 12.85 as a whole number
        {"kGlobal", "kCoinsWhatever", "kScoreBest", "12"}, // any other type is coins
        {"Game Field Screen", "kScoreDistance", "", "13"},
        {"Game Field Screen", "kScoreDistance", "kScoreBest", "99"},
        {"Bonus World", "kScorePoints", "kSomething", "11"},
        {"kCurrentWorld", "kScorePoints", "", "5"}, // no game scene is current: the global record
    };
    for (const Case& c : cases) {
        set(model->worldAttribute(), c.world);
        set(model->scoreTypeAttribute(), c.type);
        set(model->amountAttribute(), c.amount);
        EXPECT_STREQ(make()->label()->getString(), c.shown) << c.world << " " << c.type << " " << c.amount;
    }

    // The current world follows the running game scene, frame by frame.
    set(model->worldAttribute(), "kCurrentWorld");
    set(model->scoreTypeAttribute(), "kScorePoints");
    set(model->amountAttribute(), "");
    KXPObjectText* current = make();
    KXPScreensController::shared()->setCurrentSceneKey("Game Field Screen");
    current->update(0.0f);
    EXPECT_STREQ(current->label()->getString(), "30");
    first.points.session = 31;
    current->update(0.0f);
    EXPECT_STREQ(current->label()->getString(), "31");

    // Naming a world without a record adds an empty one.
    set(model->worldAttribute(), "World 9");
    EXPECT_EQ(scoreTable().count("World 9"), 0u);
    EXPECT_STREQ(make()->label()->getString(), "0");
    EXPECT_EQ(scoreTable().count("World 9"), 1u);
}

TEST_F(TextObject, LoadingCounterFollowsTheLoad) {
    // The same game loaded again, step by step, with a counter made as soon as a font is in.
    KXModelController* store = kxtest::SampleGame::store();
    const uint32_t fontId = game.named<KXModelFont>("Score Font")->id();
    store->clear();
    game.beginLoad();
    bool done = false;
    while (!done && !getModel<KXModelFont>(fontId)) {
        done = game.loadStep();
    }
    ASSERT_FALSE(done);
    auto counter = std::static_pointer_cast<KXModelObjectLabel>(KXModelObjectLabel::create());
    counter->fontAttribute()->setValue(std::to_string(fontId), true);
    counter->actionAttribute()->setValue("kLoadingCounter", true);
    model = counter;
    KXPObjectText* text = make();
    ASSERT_NE(text->label(), nullptr);

    int last = -1;
    int shownCount = 0;
    while (!done) {
        done = game.loadStep();
        text->update(1.0f / 60.0f);
        const int shown = std::stoi(text->label()->getString());
        EXPECT_EQ(std::to_string(shown), text->label()->getString());
        EXPECT_EQ(shown, store->loadingProgress());
        EXPECT_GE(shown, last);
        last = shown;
        ++shownCount;
    }
    EXPECT_EQ(last, 100);
    EXPECT_GT(shownCount, 2);
}

} // namespace
