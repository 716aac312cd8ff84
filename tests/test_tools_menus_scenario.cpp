// The menus-and-shop scenario as written: it must place one of every button class the model knows
// (a button class added later and forgotten here fails), every button that leads along the screen
// graph must find its port linked, every selection must name a model that exists, and no two
// buttons of one screen may cover each other (a touch would press the wrong one).

#include "model/KXBaseAttribute.h"
#include "model/KXModelController.h"
#include "model/classes/KXModelAssetCharacter.h"
#include "model/classes/KXModelAssetPowerup.h"
#include "model/classes/KXModelCasts.h"
#include "model/classes/KXModelObjectButton.h"
#include "model/classes/KXModelObjectButtonCharacterUnlock.h"
#include "model/classes/KXModelObjectButtonPowerup.h"
#include "model/classes/KXModelObjectButtonPurchase.h"
#include "model/classes/KXModelObjectLockButton.h"
#include "model/classes/KXModelScreen.h"
#include "model/classes/KXModelSprite.h"
#include "model/classes/KXModelSpriteContainer.h"
#include "model/classes/KXNode.h"
#include "tools/kxdata/menus/menus_scenario.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <vector>

namespace {

using kxdata::demo::DemoGame;

struct PlacedButton {
    std::string screen;
    std::shared_ptr<KXModelObjectButton> model;
};

std::vector<PlacedButton> placedButtons(const DemoGame& game) {
    std::vector<PlacedButton> buttons;
    for (const auto& entry : game.screens) {
        for (const auto& object : entry.second.screen->getObjects()) {
            if (auto button = modelKindCast<KXModelObjectButton>(object)) {
                buttons.push_back(PlacedButton{entry.first, button});
            }
        }
    }
    return buttons;
}

// A button's touch area in design units, from its picture; empty without one.
cocos2d::CCRect touchArea(const KXModelObjectButton& button) {
    const auto container = button.spriteContainer();
    if (!container || container->sprites().empty()) {
        return cocos2d::CCRect();
    }
    const auto sprite = std::static_pointer_cast<KXModelSprite>(container->sprites().front());
    const cocos2d::CCSize size = sprite->size();
    const cocos2d::CCPoint centre = button.animatedPosition(0.0f, 0);
    return cocos2d::CCRect(centre.x - size.width * 0.5f, centre.y - size.height * 0.5f, size.width,
                           size.height);
}

class MenusScenario : public ::testing::Test {
protected:
    static void SetUpTestSuite() { game = new DemoGame(kxdata::menus::buildMenusGame()); }
    static void TearDownTestSuite() {
        delete game;
        game = nullptr;
        KXModelController::shared()->clear();
    }
    static DemoGame* game;
};

DemoGame* MenusScenario::game = nullptr;

TEST_F(MenusScenario, PlacesEveryButtonClassTheModelKnows) {
    std::set<std::string> placed;
    for (const PlacedButton& button : placedButtons(*game)) {
        placed.insert(button.model->className());
    }
    KXModelController* controller = KXModelController::shared();
    for (const std::string& name : controller->classNames()) {
        const std::shared_ptr<KXModel> probe = controller->createModel(name);
        if (modelKindCast<KXModelObjectButton>(probe)) {
            EXPECT_TRUE(placed.count(name) == 1) << name << " is on no screen";
        }
    }
}

TEST_F(MenusScenario, EveryButtonThatLeadsOnFindsItsPortLinked) {
    for (const PlacedButton& button : placedButtons(*game)) {
        const std::string& className = button.model->className();
        // Plain buttons without an action, and lock buttons, follow the port named as they are.
        const bool plain = className == "KXModelObjectButton" && button.model->action().empty();
        if (!plain && className != "KXModelObjectLockButton") {
            continue;
        }
        KXBaseAttribute* port = game->screen(button.screen).node->attribute(button.model->name());
        ASSERT_NE(port, nullptr) << button.model->name() << " on " << button.screen << " has no port";
        EXPECT_NE(port->connection(), nullptr) << button.model->name() << " on " << button.screen;
    }
}

TEST_F(MenusScenario, SelectionsNameModelsThatExist) {
    // The writer's models, by the id a selection names in decimal.
    const auto modelOfText = [](const std::string& text) -> std::shared_ptr<KXModel> {
        for (const std::shared_ptr<KXModel>& model : game->models) {
            if (std::to_string(model->id()) == text) {
                return model;
            }
        }
        return nullptr;
    };
    for (const PlacedButton& button : placedButtons(*game)) {
        const std::string& name = button.model->name();
        if (auto powerup = modelCast<KXModelObjectButtonPowerup>(button.model)) {
            EXPECT_TRUE(modelCast<KXModelAssetPowerup>(modelOfText(powerup->powerupSelection()))) << name;
        }
        if (auto purchase = modelCast<KXModelObjectButtonPurchase>(button.model)) {
            if (purchase->purchaseType() == "kPurchasePowerup") {
                EXPECT_TRUE(modelCast<KXModelAssetPowerup>(modelOfText(purchase->action()))) << name;
            }
        }
        if (auto unlock = modelCast<KXModelObjectButtonCharacterUnlock>(button.model)) {
            EXPECT_TRUE(modelCast<KXModelAssetCharacter>(modelOfText(unlock->character()))) << name;
        }
    }
}

TEST_F(MenusScenario, ButtonsOfOneScreenDoNotCoverEachOther) {
    const std::vector<PlacedButton> buttons = placedButtons(*game);
    for (size_t first = 0; first < buttons.size(); ++first) {
        for (size_t second = first + 1; second < buttons.size(); ++second) {
            const PlacedButton& a = buttons[first];
            const PlacedButton& b = buttons[second];
            // The window-mode pair shares a place: only one of them shows at a time.
            const std::set<std::string> pair = {a.model->action(), b.model->action()};
            if (a.screen != b.screen || pair == std::set<std::string>{"kFullscreen", "kWindowed"}) {
                continue;
            }
            const cocos2d::CCRect areaA = touchArea(*a.model);
            const cocos2d::CCRect areaB = touchArea(*b.model);
            if (areaA.size.width <= 0.0f || areaB.size.width <= 0.0f) {
                continue;
            }
            EXPECT_FALSE(areaA.intersectsRect(areaB))
                << a.model->name() << " and " << b.model->name() << " on " << a.screen;
        }
    }
}

} // namespace
