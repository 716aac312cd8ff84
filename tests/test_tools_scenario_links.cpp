// The scenario games seen from above hold together the way the player reads them: a component
// triggered by a control names a control of that kind the game has, an asset a component, path or
// logic object picks by id exists as an obstacle asset, a screen jump's name is a link of its
// scene's node to a UI screen, and a group sorts only objects laid with it. A writer that gets one
// of these wrong gives a game in which that piece silently does nothing.

#include "model/KXBaseAttribute.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelAssetObstacle.h"
#include "model/classes/KXModelCasts.h"
#include "model/classes/KXModelLevelSection.h"
#include "model/classes/KXModelObjectButtonControl.h"
#include "model/classes/KXModelObjectButtonSwitch.h"
#include "model/classes/KXModelObjectGroup.h"
#include "model/classes/KXModelObjectScreenJump.h"
#include "model/classes/KXModelObjectSwipeControl.h"
#include "model/classes/KXNodeScene.h"
#include "model/classes/KXNodeUI.h"
#include "tools/kxdata/portals/portals_scenario.h"
#include "tools/kxdata/topdown/topdown_scenario.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace {

using kxdata::topdown::DemoGame;

struct ScenarioBuilder {
    const char* name;
    std::function<DemoGame()> build;
};

void PrintTo(const ScenarioBuilder& builder, std::ostream* out) {
    *out << builder.name;
}

const std::vector<ScenarioBuilder> kBuilders = {
    {"top-down", &kxdata::topdown::buildTopDownGame},
    {"portals-and-paths", &kxdata::portals::buildPortalsGame},
};

std::string textOf(const KXModel& model, const char* name) {
    const auto* text = dynamic_cast<const KXAttributeString*>(model.attribute(name));
    return text != nullptr ? text->value() : std::string();
}

bool hasControl(const DemoGame& game, const std::string& kind, const std::string& name) {
    for (const std::shared_ptr<KXModel>& model : game.models) {
        if (model->name() != name) {
            continue;
        }
        if ((kind == "kButton" && modelCast<KXModelObjectButtonControl>(model)) ||
            (kind == "kSwitch" && modelCast<KXModelObjectButtonSwitch>(model)) ||
            (kind == "kSwipe" && modelCast<KXModelObjectSwipeControl>(model))) {
            return true;
        }
    }
    return false;
}

bool isObstacleAsset(const DemoGame& game, long id) {
    for (const std::shared_ptr<KXModel>& model : game.models) {
        if (static_cast<long>(model->id()) == id && modelCast<KXModelAssetObstacle>(model)) {
            return true;
        }
    }
    return false;
}

class ScenarioLinks : public ::testing::TestWithParam<ScenarioBuilder> {};

TEST_P(ScenarioLinks, ControlTriggersNameControlsOfTheirKind) {
    const DemoGame game = GetParam().build();
    for (const std::shared_ptr<KXModel>& model : game.models) {
        const std::string event = textOf(*model, "Event");
        const size_t dash = event.find('-');
        if (dash == std::string::npos) {
            continue;
        }
        const std::string kind = event.substr(0, dash);
        const size_t second = event.find('-', dash + 1);
        const std::string name =
            event.substr(dash + 1, second == std::string::npos ? std::string::npos : second - dash - 1);
        EXPECT_TRUE(hasControl(game, kind, name))
            << model->name() << ": \"" << event << "\" names no such control";
    }
}

TEST_P(ScenarioLinks, AssetsPickedByIdAreObstacleAssets) {
    const DemoGame game = GetParam().build();
    for (const std::shared_ptr<KXModel>& model : game.models) {
        for (const char* name : {"Affected asset", "Object Asset"}) {
            const std::string text = textOf(*model, name);
            if (text.empty()) {
                continue;
            }
            char* end = nullptr;
            const long id = std::strtol(text.c_str(), &end, 10);
            ASSERT_TRUE(end != nullptr && *end == '\0') << model->name() << " \"" << name << "\" " << text;
            // Negative values choose a family (any object, characters, units).
            if (id >= 0) {
                EXPECT_TRUE(isObstacleAsset(game, id)) << model->name() << " \"" << name << "\" " << text;
            }
        }
    }
}

TEST_P(ScenarioLinks, ScreenJumpsFollowALinkOfTheirScene) {
    const DemoGame game = GetParam().build();
    for (const std::shared_ptr<KXModel>& model : game.models) {
        const auto jump = modelCast<KXModelObjectScreenJump>(model);
        if (!jump) {
            continue;
        }
        const std::shared_ptr<KXModel> section = jump->getFirstParent();
        const std::shared_ptr<KXModel> scene = section ? section->getFirstParent() : nullptr;
        const auto node = scene ? modelCast<KXNodeScene>(scene->getFirstParent()) : nullptr;
        ASSERT_TRUE(node) << jump->name() << " lies in no scene";
        const KXBaseAttribute* port = node->attribute(jump->name());
        ASSERT_NE(port, nullptr) << "the scene has no link named " << jump->name();
        const KXBaseAttribute* target = port->connection();
        ASSERT_NE(target, nullptr) << "the link " << jump->name() << " leads nowhere";
        EXPECT_NE(dynamic_cast<KXNodeUI*>(target->owner()), nullptr)
            << jump->name() << " leads to no UI screen";
    }
}

TEST_P(ScenarioLinks, GroupsSortObjectsLaidWithThem) {
    const DemoGame game = GetParam().build();
    for (const std::shared_ptr<KXModel>& model : game.models) {
        const auto group = modelCast<KXModelObjectGroup>(model);
        if (!group) {
            continue;
        }
        const auto section = modelCast<KXModelLevelSection>(group->getFirstParent());
        ASSERT_TRUE(section) << group->name() << " lies in no level section";
        EXPECT_FALSE(group->children().empty()) << group->name() << " sorts nothing";
        for (const std::shared_ptr<KXModel>& member : group->children()) {
            EXPECT_TRUE(section->hasChild(member))
                << member->name() << " of " << group->name() << " is not laid with its section";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(SeenFromAbove, ScenarioLinks, ::testing::ValuesIn(kBuilders),
                         [](const ::testing::TestParamInfo<ScenarioBuilder>& info) {
                             std::string name = info.param.name;
                             for (char& letter : name) {
                                 if (letter == '-') {
                                     letter = '_';
                                 }
                             }
                             return name;
                         });

} // namespace
