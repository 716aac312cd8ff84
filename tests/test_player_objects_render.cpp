// The screen objects drawn for real in the offscreen view, from the sample game's models: a text
// shows its digits on the side its anchor says, an image at its keyframed place and opacity, the
// loading bar filled as far as the load has come, a disabled button darkened, and a solid-colour
// sprite in exactly its colour.

#include "model/attributes/KXAnimationCurve.h"
#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributePoint.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelFont.h"
#include "model/classes/KXModelObjectButton.h"
#include "model/classes/KXModelObjectImage.h"
#include "model/classes/KXModelObjectLabel.h"
#include "model/classes/KXModelObjectLoadingBar.h"
#include "model/classes/KXModelSpriteContainer.h"
#include "player/base/KXPColorSprite.h"
#include "player/objects/KXPObjectImage.h"
#include "player/objects/KXPObjectLoadingBar.h"
#include "player/objects/KXPObjectText.h"
#include "player/objects/buttons/KXPObjectButton.h"
#include "player/screens/KXPScreen.h"
#include "player/sound/KXSound.h"
#include "player/store/KXPScoreTable.h"
#include "support/render_test_support.h"
#include "support/sample_game_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

using namespace cocos2d;

namespace {

KXAnimationCurve* constantCurve(float value) {
    auto* curve = new KXAnimationCurve();
    curve->addPoint(value, 0.0f);
    return curve;
}

// The frame read back once, for questions about regions.
class Frame {
public:
    Frame(int width, int height) : m_width(width), m_height(height) {
        EXPECT_TRUE(ccReadPixels(0, 0, width, height, &m_rgba));
    }
    bool lit(int x, int y) const {
        const size_t at = (static_cast<size_t>(y) * m_width + x) * 4;
        return m_rgba[at] > 60 || m_rgba[at + 1] > 60 || m_rgba[at + 2] > 60;
    }
    // The lit columns' extent (-1 when nothing is lit).
    void litColumns(int* first, int* last) const {
        *first = -1;
        *last = -1;
        for (int x = 0; x < m_width; ++x) {
            for (int y = 0; y < m_height; ++y) {
                if (lit(x, y)) {
                    *first = *first < 0 ? x : *first;
                    *last = x;
                    break;
                }
            }
        }
    }
    int litInRect(int x0, int y0, int x1, int y1) const {
        int count = 0;
        for (int y = y0; y < y1; ++y) {
            for (int x = x0; x < x1; ++x) {
                count += lit(x, y) ? 1 : 0;
            }
        }
        return count;
    }

private:
    int m_width;
    int m_height;
    std::vector<unsigned char> m_rgba;
};

class ObjectsRender : public kxtest::RenderTest {
protected:
    kxtest::SampleGame game;
    std::vector<CCObject*> held;

    void SetUp() override {
        kxtest::RenderTest::SetUp();
        if (IsSkipped()) {
            return;
        }
        std::string failure;
        if (!game.write(&failure)) {
            GTEST_SKIP() << failure;
        }
        ASSERT_TRUE(game.load(&failure)) << failure;
        clearScores();
    }

    void TearDown() override {
        for (CCObject* object : held) {
            object->release();
        }
        held.clear();
        // Press sounds still playing: as the player's exit does.
        KXSound::stopGroup(KXSound::kEveryGroup, false);
        clearScores();
        kxtest::RenderTest::TearDown();
    }

    template <class T> T* hold(T* node) {
        CCObject* object = node;
        object->retain();
        held.push_back(object);
        return node;
    }

    // Optional pictures for a person to look at: KX_SCREENSHOT_DIR=/some/folder.
    static void keepScreenshot(const std::string& name) {
        if (const char* folder = std::getenv("KX_SCREENSHOT_DIR")) {
            ccSaveScreenshot(std::string(folder) + "/" + name + ".png");
        }
    }

    std::shared_ptr<KXModelObjectLabel> scoreLabel(const std::string& alignment, float x) {
        auto label = game.named<KXModelObjectLabel>("Coins");
        label->fontAttribute()->setValue(std::to_string(game.named<KXModelFont>("Score Font")->id()), true);
        label->actionAttribute()->setValue("kScoreVector", true);
        label->worldAttribute()->setValue("Game Field Screen", true);
        label->scoreTypeAttribute()->setValue("kScoreCoins", true);
        label->alignmentAttribute()->setValue(alignment, true);
        label->trackingAttribute()->setValue(0.0f, true);
        label->stickToEdgeAttribute()->setValue(false, true);
        label->autohideAttribute()->setValue(0.0f, true);
        label->positionAttribute()->setValue(CCPoint(x, 50.0f), true);
        return label;
    }
};

TEST_F(ObjectsRender, ATextShowsItsDigitsOnTheSideOfItsAnchor) {
    worldScores("Game Field Screen").coins.session = 42;
    struct Case {
        const char* alignment;
        float x;
    };
    for (const Case& c : {Case{"kCCTextAlignmentLeft", 20.0f}, Case{"kCCTextAlignmentRight", 80.0f},
                          Case{"kCCTextAlignmentCenter", 50.0f}}) {
        KXPObjectText* text = hold(KXPObjectText::create(scoreLabel(c.alignment, c.x)));
        text->update(0.0f);
        ASSERT_STREQ(text->label()->getString(), "42");
        render({text});
        keepScreenshot(std::string("text-") + c.alignment);
        Frame frame(kWidth, kHeight);
        int first = 0;
        int last = 0;
        frame.litColumns(&first, &last);
        // Two glyphs of 15 pixels with a 3-pixel gap: 33 columns from the first lit to the last.
        EXPECT_NEAR(last - first + 1, 33, 2) << c.alignment;
        const int middle = (first + last) / 2;
        if (c.x == 20.0f) {
            EXPECT_NEAR(first, 20, 1);
        } else if (c.x == 80.0f) {
            // The last glyph ends at the anchor, or its advance does.
            EXPECT_LE(last, 80);
            EXPECT_GE(last, 76);
        } else {
            EXPECT_NEAR(middle, 50, 3);
        }
        // Vertically centred on the position: 21 lit rows around y = 50.
        EXPECT_GT(frame.litInRect(0, 40, kWidth, 61), 0);
        EXPECT_EQ(frame.litInRect(0, 0, kWidth, 38), 0);
        EXPECT_EQ(frame.litInRect(0, 63, kWidth, kHeight), 0);
    }
}

TEST_F(ObjectsRender, AnImageDrawsAtItsKeyframedPlaceAndOpacity) {
    auto model = game.named<KXModelObjectImage>("Splash");
    model->setImage(game.named<KXModelSpriteContainer>("Icons"));
    model->autohideAttribute()->setValue(0.0f, true);
    model->positionAttribute()->setValue(CCPoint(30.0f, 30.0f), true);
    model->positionAttribute()->setAnimationCurves({constantCurve(40.0f), constantCurve(20.0f)}, 1);
    model->opacityAttribute()->setAnimationCurves({constantCurve(-0.5f)}, 1);
    KXPObjectImage* image = hold(KXPObjectImage::create(model, 1.0f, true));

    render({image});
    Frame atRest(kWidth, kHeight);
    EXPECT_GT(atRest.litInRect(16, 16, 44, 44), 200); // the 32 x 32 icon around (30, 30)
    EXPECT_EQ(atRest.litInRect(56, 36, 84, 64), 0);
    const ccColor4B full = pixel(30, 30);

    image->setAnimationKey(1);
    image->update(0.0f);
    render({image});
    keepScreenshot("image-keyframed");
    Frame moved(kWidth, kHeight);
    EXPECT_EQ(moved.litInRect(16, 16, 44, 34), 0);
    const ccColor4B half = pixel(70, 50);
    EXPECT_PIXEL(half, full.r / 2, full.g / 2, full.b / 2);
}

TEST_F(ObjectsRender, TheLoadingBarFillsAsFarAsTheLoadHasCome) {
    // 800 design units across the 100 pixels: the 400-unit bar at x = 400 covers pixels 25 to 75.
    view->setDesignResolutionSize(800.0f, static_cast<float>(kHeight), kResolutionExactFit);
    auto model = game.named<KXModelObjectLoadingBar>("Progress");
    model->positionAttribute()->setValue(CCPoint(400.0f, 50.0f), true);
    KXPObjectLoadingBar* bar = hold(KXPObjectLoadingBar::create(model));

    // The same game loaded again, step by step.
    kxtest::SampleGame::store()->clear();
    game.beginLoad();
    bool done = false;
    int checked = 0;
    for (int step = 0; step < 100000; ++step) {
        const int progress = kxtest::SampleGame::store()->loadingProgress();
        if (step % 7 == 0 || done) {
            render({bar});
            Frame frame(kWidth, kHeight);
            // The middle row: the outline's ends (lines fall on one side of a pixel edge or
            // the other), and the filled part from the left.
            EXPECT_TRUE(frame.lit(24, 50) || frame.lit(25, 50)) << progress;
            EXPECT_TRUE(frame.lit(74, 50) || frame.lit(75, 50)) << progress;
            const int filledTo = 25 + (50 * progress) / 100;
            if (progress >= 10) {
                EXPECT_TRUE(frame.lit(filledTo - 3, 50)) << progress;
            }
            if (progress <= 90) {
                EXPECT_FALSE(frame.lit(filledTo + 3, 50)) << progress;
            }
            if (progress >= 40 && progress <= 60) {
                keepScreenshot("loading-bar-half");
            }
            ++checked;
        }
        if (done) {
            break;
        }
        done = game.loadStep();
    }
    EXPECT_EQ(kxtest::SampleGame::store()->loadingProgress(), 100);
    EXPECT_GT(checked, 3);
    // Full: every pixel of the middle row between the ends is lit.
    Frame full(kWidth, kHeight);
    EXPECT_EQ(full.litInRect(26, 50, 74, 51), 48);
    keepScreenshot("loading-bar-full");
}

TEST_F(ObjectsRender, ADisabledButtonIsDarkenedAndAPressedOneLessSo) {
    auto model = game.named<KXModelObjectButton>("Play");
    model->intervalAttribute()->setValue(0.0f, true);
    model->stickToEdgeAttribute()->setValue(false, true);
    model->positionAttribute()->setValue(CCPoint(50.0f, 50.0f), true);
    model->setImage(game.named<KXModelSpriteContainer>("Icons"));
    KXPObjectButton* button = hold(KXPObjectButton::create(model, nullptr));
    ASSERT_NE(button, nullptr);

    render({button});
    const ccColor4B normal = pixel(50, 50);
    EXPECT_TRUE(normal.r > 100 || normal.g > 100 || normal.b > 100);
    button->selected();
    render({button});
    EXPECT_PIXEL(pixel(50, 50), normal.r * 128 / 255, normal.g * 128 / 255, normal.b * 128 / 255);
    button->unselected();
    button->setEnabled(false);
    render({button});
    keepScreenshot("button-disabled");
    EXPECT_PIXEL(pixel(50, 50), normal.r * 60 / 255, normal.g * 60 / 255, normal.b * 60 / 255);

    // Without a picture the button is a clear area: nothing shows.
    model->setImage(nullptr);
    KXPObjectButton* clear = hold(KXPObjectButton::create(model, nullptr));
    render({clear});
    Frame frame(kWidth, kHeight);
    EXPECT_EQ(frame.litInRect(0, 0, kWidth, kHeight), 0);
}

TEST_F(ObjectsRender, AScreenShowsAllFourKinds) {
    // A quarter-size window onto the sample's design area.
    view->setFrameSize(568.0f, 320.0f);
    view->setDesignResolutionSize(1136.0f, 640.0f, kResolutionExactFit);
    const std::string fontId = std::to_string(game.named<KXModelFont>("Score Font")->id());

    auto title = game.named<KXModelObjectLabel>("Title");
    title->fontAttribute()->setValue(fontId, true);
    title->actionAttribute()->setValue("kCustomVector", true);
    title->textAttribute()->setValue("SAMPLE 2026", true);
    title->autohideAttribute()->setValue(0.0f, true);
    title->stickToEdgeAttribute()->setValue(false, true);
    title->scaleAttribute()->setValue(CCPoint(2.0f, 2.0f), true);
    auto coins = scoreLabel("kCCTextAlignmentLeft", 80.0f);
    coins->positionAttribute()->setValue(CCPoint(80.0f, 600.0f), true);
    worldScores("Game Field Screen").coins.session = 1250;
    auto splash = game.named<KXModelObjectImage>("Splash");
    splash->setImage(game.named<KXModelSpriteContainer>("Runner Frames"));
    splash->autohideAttribute()->setValue(0.0f, true);
    splash->positionAttribute()->setValue(CCPoint(568.0f, 330.0f), true);
    splash->scaleAttribute()->setValue(CCPoint(3.0f, 3.0f), true);
    auto bar = game.named<KXModelObjectLoadingBar>("Progress");
    bar->positionAttribute()->setValue(CCPoint(568.0f, 150.0f), true);
    auto play = game.named<KXModelObjectButton>("Play");
    play->intervalAttribute()->setValue(0.0f, true);
    play->stickToEdgeAttribute()->setValue(false, true);
    play->positionAttribute()->setValue(CCPoint(1000.0f, 100.0f), true);
    play->scaleAttribute()->setValue(CCPoint(3.0f, 3.0f), true);
    play->setImage(game.named<KXModelSpriteContainer>("Icons"));

    KXPScreen* screen = hold(new KXPScreen());
    static_cast<CCObject*>(screen)->release();
    screen->addChild(screen->controlsNode(), KXPScreen::kControlsZOrder);
    CCNode* controls = screen->controlsNode();
    controls->addChild(KXPObjectText::create(title));
    controls->addChild(KXPObjectText::create(coins));
    controls->addChild(KXPObjectImage::create(splash, 1.0f, true));
    controls->addChild(KXPObjectLoadingBar::create(bar));
    CCMenu* menu = CCMenu::create(true);
    menu->setTag(KXPScreen::kButtonMenuTag);
    menu->setPosition(CCPointZero); // a menu starts in the middle of the window
    KXPObjectButton* button = KXPObjectButton::create(play, screen);
    menu->addChild(button);
    controls->addChild(menu);
    screen->setAnimationState(KXPScreen::kAnimationIdle);
    button->setEnabled(false);

    render({screen});
    keepScreenshot("screen");
    Frame frame(568, 320);
    // Title across the middle top, the coins at the top left, the runner in the middle, the full
    // bar below it and the darkened button at the bottom right (window pixels are half the design).
    EXPECT_GT(frame.litInRect(200, 250, 368, 290), 100);
    EXPECT_GT(frame.litInRect(40, 290, 110, 310), 50);
    EXPECT_GT(frame.litInRect(250, 130, 318, 200), 500);
    EXPECT_EQ(frame.litInRect(185, 75, 383, 76), 198);
    const ccColor4B dim = pixel(505, 50);
    EXPECT_GT(dim.r, 20);
    EXPECT_LT(dim.r, 90);
    EXPECT_EQ(frame.litInRect(0, 0, 150, 100), 0);
}

TEST_F(ObjectsRender, ASolidColourSpriteHasExactlyItsColour) {
    // Channels whose low bits a 16-bit upload would lose.
    CCSprite* sprite = createColorSprite(CCSize(60.0f, 40.0f), ccc4(143, 79, 31, 255));
    sprite->setPosition(CCPoint(50.0f, 50.0f));
    render({sprite});
    EXPECT_PIXEL(pixel(50, 50), 143, 79, 31);
    EXPECT_PIXEL(pixel(25, 35), 143, 79, 31);
    EXPECT_PIXEL(pixel(50, 75), 0, 0, 0); // outside its 60 x 40
    EXPECT_PIXEL(pixel(15, 50), 0, 0, 0);
}

} // namespace
