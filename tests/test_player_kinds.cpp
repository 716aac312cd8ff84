// Kinds of runtime objects: the factories trace each object they make under their row's name
// ("kind <factory>:<row>"), only for what they really made, and every name a run can trace is one
// the list of kinds holds, so that a scenario run can be checked against the list.

#include "model/classes/KXModelAssetObstacle.h"
#include "model/classes/KXModelComponentDamage.h"
#include "model/classes/KXModelComponentHealth.h"
#include "model/classes/KXModelObjectAssetUnit.h"
#include "model/classes/KXModelObjectButton.h"
#include "model/classes/KXModelObjectButtonControl.h"
#include "model/classes/KXModelObjectButtonSoundControl.h"
#include "model/classes/KXModelObjectInstance.h"
#include "player/app/KXPKindNames.h"
#include "player/base/KXPTrace.h"
#include "player/components/KXComponent.h"
#include "player/objects/buttons/KXPObjectButton.h"
#include "support/asset_world_support.h"
#include "support/trace_lines.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

using namespace cocos2d;

namespace {

// The "kinds" trace lines written while it lives, without their frame and kind word.
class KindLines {
public:
    // The kinds traced so far, in order ("asset:unit").
    std::vector<std::string> kinds() {
        std::vector<std::string> found;
        for (const std::string& line : m_lines.lines()) {
            const size_t at = line.find("kind ");
            if (at != std::string::npos) {
                found.push_back(line.substr(at + 5));
            }
        }
        return found;
    }

private:
    kxtest::TraceLines m_lines{"kinds"};
};

class KindTrace : public kxtest::AssetTest {
protected:
    static std::shared_ptr<KXModelObjectAssetUnit> unit(bool withObstacle) {
        std::shared_ptr<KXModelObjectAssetUnit> model = createModel<KXModelObjectAssetUnit>();
        if (withObstacle) {
            model->setAsset(createModel<KXModelAssetObstacle>());
        }
        return model;
    }

    // Every traced kind must be a listed one: what a run shows can be checked against the list.
    static void expectListed(const std::vector<std::string>& traced) {
        const std::vector<std::string> names = kxKindNames();
        for (const std::string& kind : traced) {
            EXPECT_NE(std::find(names.begin(), names.end(), kind), names.end()) << kind << " is not listed";
        }
    }
};

TEST_F(KindTrace, AssetObjectsAreTracedByTheirRowOnlyWhenMade) {
    KindLines lines;
    ASSERT_NE(KXPObjectAsset::create(unit(true)), nullptr);
    // A unit without an obstacle shows nothing and is not made; a model of no kind neither.
    EXPECT_EQ(KXPObjectAsset::create(unit(false)), nullptr);
    EXPECT_EQ(KXPObjectAsset::create(createModel<KXModelComponentDamage>()), nullptr);
    EXPECT_EQ(lines.kinds(), (std::vector<std::string>{"asset:unit"}));

    // An instance makes what it repeats, then counts as made itself.
    std::shared_ptr<KXModelObjectInstance> instance = createModel<KXModelObjectInstance>();
    instance->setReference(unit(true));
    ASSERT_NE(KXPObjectAsset::create(instance), nullptr);
    const std::vector<std::string> traced = lines.kinds();
    EXPECT_EQ(traced, (std::vector<std::string>{"asset:unit", "asset:unit", "asset:instance"}));
    expectListed(traced);
}

TEST_F(KindTrace, ButtonsAreTracedByTheirExactButtonClass) {
    KindLines lines;
    std::vector<CCObject*> held;
    for (const std::shared_ptr<KXModelObjectButton>& model :
         std::vector<std::shared_ptr<KXModelObjectButton>>{createModel<KXModelObjectButton>(),
                                                           createModel<KXModelObjectButtonControl>(),
                                                           createModel<KXModelObjectButtonSoundControl>()}) {
        KXPObjectButton* button = KXPObjectButton::create(model, nullptr);
        ASSERT_NE(button, nullptr);
        button->retain();
        held.push_back(button);
    }
    const std::vector<std::string> traced = lines.kinds();
    EXPECT_EQ(traced, (std::vector<std::string>{"button:button", "button:control", "button:sound-control"}));
    expectListed(traced);
    for (CCObject* button : held) {
        button->release();
    }
}

TEST_F(KindTrace, ComponentsAreTracedOnlyForKindsWithARuntimeComponent) {
    KindLines lines;
    KXComponent* health = KXComponent::create(createModel<KXModelComponentHealth>());
    ASSERT_NE(health, nullptr);
    delete health;
    EXPECT_EQ(KXComponent::create(createModel<KXModelComponentDamage>()), nullptr);
    const std::vector<std::string> traced = lines.kinds();
    EXPECT_EQ(traced, (std::vector<std::string>{"component:health"}));
    expectListed(traced);
}

TEST_F(KindTrace, NothingIsTracedWhileTheKindIsOff) {
    std::FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    kxTraceSetOutput(file);
    kxTraceEnableKinds("unit");
    EXPECT_NE(KXPObjectAsset::create(unit(true)), nullptr);
    kxTraceEnableKinds("");
    kxTraceSetOutput(nullptr);
    EXPECT_EQ(std::ftell(file), 0L);
    std::fclose(file);
}

TEST(KindList, NamesAreUniqueSingleWordsOfFactoryAndRow) {
    const std::vector<std::string> names = kxKindNames();
    ASSERT_FALSE(names.empty());
    std::set<std::string> seen;
    std::set<std::string> factories;
    for (const std::string& name : names) {
        EXPECT_TRUE(seen.insert(name).second) << name << " twice";
        // The tool and the scripts split trace lines on blanks: a name is one word.
        EXPECT_EQ(name.find_first_of(" \t"), std::string::npos) << name;
        const size_t colon = name.find(':');
        ASSERT_NE(colon, std::string::npos) << name;
        EXPECT_GT(colon, 0u) << name;
        EXPECT_LT(colon + 1, name.size()) << name;
        EXPECT_EQ(name.find(':', colon + 1), std::string::npos) << name;
        factories.insert(name.substr(0, colon));
    }
    // Each maker adds its own rows, so several makers show up.
    EXPECT_GT(factories.size(), 1u);
}

} // namespace
