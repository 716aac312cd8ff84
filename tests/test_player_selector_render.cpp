// The character carousel and the unlock-character button as they draw (offscreen GL): the row of
// icons around the middle, the price and unlock button of a locked character, and the button's
// picture by the character's state. Pictures come from the sample game's sprites.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "cocos2d.h"
#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributePoint.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelAnimation.h"
#include "model/classes/KXModelAssetCharacter.h"
#include "model/classes/KXModelFont.h"
#include "model/classes/KXModelObjectCharacterSelector.h"
#include "model/classes/KXModelObjectImage.h"
#include "model/classes/KXModelQueries.h"
#include "model/classes/KXModelSpriteContainer.h"
#include "model/references/KXAttributeAnimation.h"
#include "player/base/KXPGameDataLoaded.h"
#include "player/objects/KXPObjectCharacterSelector.h"
#include "player/store/KXPScoreTable.h"
#include "player/store/KXPSettingsController.h"
#include "support/render_test_support.h"
#include "support/sample_game_support.h"

using namespace cocos2d;

namespace {

class SelectorRender : public kxtest::RenderTest {
protected:
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
        CCUserDefault::setXMLFilePath(folder.file("UserDefault.xml"));
        KXPSettingsController::purgeShared();
        clearScores();
        view->setFrameSize(568.0f, 320.0f);
        view->setDesignResolutionSize(1136.0f, 640.0f, kResolutionExactFit);
    }
    void TearDown() override {
        for (CCObject* object : held) {
            object->release();
        }
        KXPSettingsController::purgeShared();
        CCUserDefault::purgeSharedUserDefault();
        CCUserDefault::setXMLFilePath("");
        clearScores();
        kxtest::RenderTest::TearDown();
    }

    static std::shared_ptr<KXModelAnimation> showing(const std::shared_ptr<KXModelSpriteContainer>& sprites,
                                                     float y = 0.0f) {
        auto animation = createModel<KXModelAnimation>();
        auto image = createModel<KXModelObjectImage>();
        image->setImage(sprites);
        image->positionAttribute()->setValue(CCPoint(0.0f, y), true);
        image->scaleAttribute()->setValue(CCPoint(3.0f, 3.0f), true);
        animation->addChild(image, true);
        return animation;
    }
    // Characters after the sample's own, which the test moves out of the way.
    int addCharacter(const std::string& method, float price,
                     const std::shared_ptr<KXModelSpriteContainer>& sprites) {
        auto character = createModel<KXModelAssetCharacter>();
        character->setName("Hero");
        character->purchaseMethodAttribute()->setValue(method, true);
        character->priceAttribute()->setValue(price, true);
        character->defaultAnimationAttribute()->setValue(showing(sprites), true);
        return static_cast<int>(getModels<KXModelAssetCharacter>().size()) - 1;
    }
    static void keepScreenshot(const std::string& name) {
        if (const char* folder = std::getenv("KX_SCREENSHOT_DIR")) {
            ccSaveScreenshot(std::string(folder) + "/" + name + ".png");
        }
    }
    // Lit pixels (any channel above 60) in a window rectangle.
    static int litIn(int x0, int y0, int x1, int y1) {
        std::vector<unsigned char> rgba;
        EXPECT_TRUE(ccReadPixels(x0, y0, x1 - x0, y1 - y0, &rgba));
        int count = 0;
        for (size_t at = 0; at + 3 < rgba.size(); at += 4) {
            count += rgba[at] > 60 || rgba[at + 1] > 60 || rgba[at + 2] > 60 ? 1 : 0;
        }
        return count;
    }

    kxtest::SampleGame game;
    std::vector<CCObject*> held;
};

TEST_F(SelectorRender, TheRowCentresTheShownCharacterAndALockedOneShowsItsPriceAndUnlockButton) {
    auto runner = game.named<KXModelSpriteContainer>("Runner Frames");
    auto icons = game.named<KXModelSpriteContainer>("Icons");
    ASSERT_TRUE(runner && icons);
    const int first = addCharacter("kFree", 0.0f, runner);
    addCharacter("kInGameCurrency", 250.0f, icons);
    addCharacter("kFree", 0.0f, runner);

    auto model = createModel<KXModelObjectCharacterSelector>();
    model->positionAttribute()->setValue(CCPoint(568.0f, 360.0f), true);
    dynamic_cast<KXAttributeFloat*>(model->attribute("Spread"))->setValue(400.0f, true);
    dynamic_cast<KXAttributeStringList*>(model->attribute("Label Name"))
        ->setValue(std::to_string(game.named<KXModelFont>("Score Font")->id()), true);
    dynamic_cast<KXAttributeFloat*>(model->attribute("Label Vertical Spacing"))->setValue(120.0f, true);
    dynamic_cast<KXAttributeAnimation*>(model->attribute("Unlock Button"))
        ->setValue(showing(icons, -260.0f), true);
    KXPSettingsController::shared()->setSelectedCharacter(first);

    CCScene* scene = CCScene::create();
    held.push_back(scene);
    scene->retain();
    KXPObjectCharacterSelector* selector = KXPObjectCharacterSelector::create(model);
    scene->addChild(selector);
    for (int frame = 0; frame < 200; ++frame) {
        selector->update(1.0f / 60.0f);
    }
    render({scene});
    keepScreenshot("selector-unlocked");
    // The shown character in the middle, its neighbour 400 design units (200 pixels) right; no
    // price and no unlock button for an unlocked character.
    EXPECT_GT(litIn(254, 150, 314, 210), 300);
    EXPECT_GT(litIn(454, 150, 514, 210), 100);
    EXPECT_EQ(litIn(234, 20, 334, 100), 0);

    selector->setSelectedIndex(first + 1);
    for (int frame = 0; frame < 200; ++frame) {
        selector->update(1.0f / 60.0f);
    }
    render({scene});
    keepScreenshot("selector-locked");
    EXPECT_GT(litIn(254, 150, 314, 210), 100);
    // The price above the unlock button, both below the icon.
    EXPECT_GT(litIn(234, 100, 334, 140), 20);
    EXPECT_GT(litIn(254, 30, 314, 90), 100);
}

TEST_F(SelectorRender, ASelectionMadeElsewhereRenamesTheShownCharacter) {
    auto runner = game.named<KXModelSpriteContainer>("Runner Frames");
    ASSERT_TRUE(runner);
    const int first = addCharacter("kFree", 0.0f, runner);
    const int other = addCharacter("kFree", 0.0f, runner);
    getModels<KXModelAssetCharacter>()[static_cast<size_t>(other)]->setName("Other Hero");
    auto model = createModel<KXModelObjectCharacterSelector>();
    dynamic_cast<KXAttributeStringList*>(model->attribute("Label Name"))
        ->setValue(std::to_string(game.named<KXModelFont>("Score Font")->id()), true);
    KXPSettingsController::shared()->setSelectedCharacter(first);
    KXPObjectCharacterSelector* selector = KXPObjectCharacterSelector::create(model);
    selector->retain();
    held.push_back(selector);
    ASSERT_NE(selector->nameLabel(), nullptr);
    EXPECT_EQ(std::string(selector->nameLabel()->getString()), "Hero");

    // An unlock-character button selects the other one while the selector is on screen.
    KXPSettingsController::shared()->setSelectedCharacter(other);
    selector->update(1.0f / 60.0f);
    EXPECT_EQ(selector->shownIndex(), other);
    EXPECT_EQ(std::string(selector->nameLabel()->getString()), "Other Hero");
}

} // namespace
