// Portals on a headless game field: partners by group and strict radius, exit-only, one send per
// entry, with and without swallowing the entering character, no copy past the field's bound, and
// the partners in range found wherever the portals stand.

#include "model/KXDebugLog.h"
#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributePoint.h"
#include "model/classes/KXModelObjectTeleport.h"
#include "model/classes/KXModelScreenScene.h"
#include "player/app/KXPScreensController.h"
#include "player/field/KXPGameFieldCamera.h"
#include "player/field/KXPScreenScene.h"
#include "player/input/KXPInputController.h"
#include "player/objects/assets/KXPObjectAssetTeleport.h"
#include "support/asset_world_support.h"
#include "support/model_class_helpers.h"

#include "cocos2d.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <limits>
#include <memory>
#include <string>
#include <vector>

using namespace cocos2d;

namespace {

constexpr const char* kWorld = "teleport-test";

struct PortalSettings {
    float group = 1.0f;
    float radius = 500.0f;
    bool exitOnly = false;
    bool deleteInput = false;
    bool singleUse = false;
};

class LevelTeleport : public kxtest::AssetTest {
protected:
    KXPScreenScene* scene = nullptr;

    void SetUp() override {
        kxtest::AssetTest::SetUp();
        KXPScreensController::shared()->reset();
        KXPScreensController::shared()->setCurrentSceneKey(kWorld);
        KXBaseModelScreenScene::findOrCreateByKey(kWorld)->gravityAttribute()->setValue(CCPointZero, true);
        scene = KXPScreenScene::create();
        ASSERT_NE(scene, nullptr);
        scene->retain();
    }
    void TearDown() override {
        if (scene != nullptr) {
            scene->release();
        }
        CCPoolManager::sharedPoolManager()->finalize();
        KXPInputController::purgeShared();
        KXPScreensController::shared()->reset();
        kxtest::AssetTest::TearDown();
    }

    KXPObjectAssetTeleport* portal(const CCPoint& position, const PortalSettings& settings = {}) {
        auto model = createModel<KXModelObjectTeleport>();
        attributeOf<KXAttributeFloat>(*model, "Group ID")->setValue(settings.group, true);
        attributeOf<KXAttributeFloat>(*model, "Search Radius")->setValue(settings.radius, true);
        attributeOf<KXAttributeBool>(*model, "Exit Only")->setValue(settings.exitOnly, true);
        attributeOf<KXAttributeBool>(*model, "Delete Input Object")->setValue(settings.deleteInput, true);
        attributeOf<KXAttributeBool>(*model, "Single Use")->setValue(settings.singleUse, true);
        auto* made = static_cast<KXPObjectAssetTeleport*>(KXPObjectAsset::create(model));
        EXPECT_NE(made, nullptr);
        made->setPosition(position);
        scene->getObjectLayer()->addChild(made);
        return made;
    }
    kxtest::TestAsset* character(uint32_t extraType = 0) {
        kxtest::TestAsset* made = kxtest::TestAsset::make(kxtest::boxAssetModel());
        made->setType(KXPObject::kTypeCharacter | extraType);
        scene->getObjectLayer()->addChild(made);
        return made;
    }
    size_t queued() const { return scene->getTeleportQueue().size(); }
};

TEST_F(LevelTeleport, APartnerMustLieStrictlyInsideTheRadiusAndSameGroup) {
    KXPObjectAssetTeleport* entry = portal(ccp(0, 0), {1.0f, 300.0f});
    KXPObjectAssetTeleport* atEdge = portal(ccp(300, 0));
    portal(ccp(100, 0), {2.0f}); // another group, in range
    kxtest::TestAsset* hero = character();

    entry->beginContact(hero, nullptr, true);
    ASSERT_EQ(entry->carriedObject(), hero);
    entry->send(*scene);
    EXPECT_EQ(queued(), 0u);
    EXPECT_EQ(entry->carriedObject(), hero); // tried again next frame
    EXPECT_TRUE(atEdge->isMovementEnabled());

    attributeOf<KXAttributeFloat>(*entry->getModel(), "Search Radius")->setValue(301.0f, true);
    entry->send(*scene);
    ASSERT_EQ(queued(), 1u);
    EXPECT_EQ(scene->getTeleportQueue()[0].object, hero);
    EXPECT_EQ(scene->getTeleportQueue()[0].destination, atEdge);
    EXPECT_FALSE(atEdge->isMovementEnabled());
}

// A path carrying a portal adds its own bit: the portal is no partner while it rides, and is
// one again once the path lets it go.
TEST_F(LevelTeleport, APortalRidingAPathIsNoPartnerUntilItIsLetGo) {
    KXPObjectAssetTeleport* entry = portal(ccp(0, 0));
    KXPObjectAssetTeleport* riding = portal(ccp(200, 0));
    riding->setType(riding->getType() | KXPObject::kTypeCarriedByPath);
    kxtest::TestAsset* hero = character();
    entry->beginContact(hero, nullptr, true);
    entry->send(*scene);
    EXPECT_EQ(queued(), 0u);
    riding->setType(riding->getType() & ~KXPObject::kTypeCarriedByPath);
    entry->send(*scene);
    ASSERT_EQ(queued(), 1u);
    EXPECT_EQ(scene->getTeleportQueue()[0].destination, riding);
}

TEST_F(LevelTeleport, EntriesThatAreRefused) {
    KXPObjectAssetTeleport* exitOnly = portal(ccp(0, 0), {1.0f, 500.0f, true});
    KXPObjectAssetTeleport* entry = portal(ccp(200, 0));
    KXPObjectAssetTeleport* third = portal(ccp(-200, 0));

    exitOnly->beginContact(character(), nullptr, true);
    EXPECT_EQ(exitOnly->carriedObject(), nullptr);
    entry->beginContact(character(KXPObject::kTypeSpawnedCopy), nullptr, true);
    EXPECT_EQ(entry->carriedObject(), nullptr);
    kxtest::TestAsset* dead = character();
    dead->setState(KXPObject::kStateDead);
    entry->beginContact(dead, nullptr, true);
    EXPECT_EQ(entry->carriedObject(), nullptr);
    kxtest::TestAsset* unit = kxtest::TestAsset::make(kxtest::boxAssetModel());
    unit->setType(KXPObject::kTypeUnit);
    entry->beginContact(unit, nullptr, true);
    EXPECT_EQ(entry->carriedObject(), nullptr);

    // An exit-only portal still receives; every partner in range gets the character, in order.
    kxtest::TestAsset* hero = character();
    entry->beginContact(hero, nullptr, true);
    entry->send(*scene);
    ASSERT_EQ(queued(), 2u);
    EXPECT_EQ(scene->getTeleportQueue()[0].destination, exitOnly);
    EXPECT_EQ(scene->getTeleportQueue()[1].destination, third);
    // A portal that received takes nothing in meanwhile.
    third->beginContact(character(), nullptr, true);
    EXPECT_EQ(third->carriedObject(), nullptr);
}

TEST_F(LevelTeleport, OneSendPerEntryWithAndWithoutSwallowing) {
    KXPObjectAssetTeleport* keep = portal(ccp(0, 0));
    portal(ccp(200, 0), {1.0f, 500.0f, true});
    kxtest::TestAsset* hero = character();

    keep->beginContact(hero, nullptr, true);
    keep->send(*scene);
    EXPECT_EQ(queued(), 1u);
    // The character still stands in the portal: later frames send nothing more.
    for (int frame = 0; frame < 5; ++frame) {
        keep->update(kxtest::kFrame);
        keep->send(*scene);
    }
    EXPECT_EQ(queued(), 1u);
    EXPECT_EQ(keep->carriedObject(), nullptr);
    EXPECT_EQ(keep->getState(), KXPObject::kStateActive);
    EXPECT_EQ(hero->getState(), KXPObject::kStateActive);
    // The listener went with the send: removing the hero no longer reaches the portal.
    keep->setMovementEnabled(false);
    hero->setState(KXPObject::kStateRemoved);
    EXPECT_FALSE(keep->isMovementEnabled());

    // Swallowing, single use: the character is removed, the portal leaves after its send.
    KXPObjectAssetTeleport* swallow = portal(ccp(0, 50), {3.0f, 500.0f, false, true, true});
    portal(ccp(0, 300), {3.0f, 500.0f, true});
    kxtest::TestAsset* second = character();
    swallow->beginContact(second, nullptr, true);
    swallow->send(*scene);
    EXPECT_EQ(queued(), 2u);
    EXPECT_EQ(second->getState(), KXPObject::kStateRemoved);
    EXPECT_EQ(swallow->carriedObject(), nullptr);
    EXPECT_EQ(swallow->getState(), KXPObject::kStateRemoved);
}

TEST_F(LevelTeleport, ACarriedObjectRemovedOrOutlivingItsPortal) {
    KXPObjectAssetTeleport* entry = portal(ccp(0, 0), {1.0f, 10.0f}); // no partner in range
    kxtest::TestAsset* hero = character();
    entry->beginContact(hero, nullptr, true);
    entry->setMovementEnabled(false);
    hero->setState(KXPObject::kStateRemoved);
    EXPECT_EQ(entry->carriedObject(), nullptr);
    EXPECT_TRUE(entry->isMovementEnabled());

    // A portal that goes first takes its listener back (ASan sees a call into freed memory).
    kxtest::TestAsset* other = character();
    other->retain();
    entry->beginContact(other, nullptr, true);
    CCPoolManager::sharedPoolManager()->pop();
    scene->getObjectLayer()->removeChild(entry, true);
    other->setState(KXPObject::kStateRemoved);
    other->release();
}

// Exits that send on what comes out of them copy without end: the field takes a stated number of
// copies, queued ones counted, and a portal refused says so once.
TEST_F(LevelTeleport, NoPortalMakesACopyPastTheFieldsBound) {
    KXPObjectAssetTeleport* entry = portal(ccp(0, 0));
    KXPObjectAssetTeleport* first = portal(ccp(100, 0));
    KXPObjectAssetTeleport* second = portal(ccp(200, 0));
    KXPObjectAssetTeleport* elsewhere = portal(ccp(5000, 0), {9.0f});
    kxtest::TestAsset* earlier = character();
    for (size_t copy = 1; copy < KXPLevelField::kMaxTeleportCopies; ++copy) {
        scene->addTeleport(earlier, elsewhere);
    }
    ASSERT_EQ(scene->teleportCopies(), KXPLevelField::kMaxTeleportCopies - 1);
    KXDebugLogCapture log;

    // One copy left: the first partner gets it, the second none, and the entry has sent.
    kxtest::TestAsset* hero = character();
    entry->beginContact(hero, nullptr, true);
    entry->send(*scene);
    ASSERT_EQ(queued(), KXPLevelField::kMaxTeleportCopies);
    EXPECT_EQ(scene->getTeleportQueue().back().destination, first);
    EXPECT_FALSE(first->isMovementEnabled());
    EXPECT_TRUE(second->isMovementEnabled());
    EXPECT_EQ(entry->carriedObject(), nullptr);
    const std::string said = "[KXPObjectAssetTeleport] - " + entry->getModel()->name() + " (model " +
                             std::to_string(entry->getModel()->id()) + ") makes no copy: the field holds " +
                             std::to_string(KXPLevelField::kMaxTeleportCopies) + " copies";
    EXPECT_EQ(log.lines(), std::vector<std::string>{said});

    // None left: a portal keeps what entered it and tries again, without a further line.
    kxtest::TestAsset* next = character();
    second->beginContact(next, nullptr, true);
    for (int frame = 0; frame < 3; ++frame) {
        second->send(*scene);
    }
    EXPECT_EQ(queued(), KXPLevelField::kMaxTeleportCopies);
    EXPECT_EQ(second->carriedObject(), next);
    EXPECT_TRUE(entry->isMovementEnabled());
    EXPECT_EQ(log.lines().size(), 1u);
}

// The field finds a sender's partners among the portals near it: the same portals, in the same
// order, as looking at every child of the layer, while portals move, ride a path and are let go,
// come, go, and are sorted to other places, also far out, at places that are not numbers and
// with radii of every size.
TEST_F(LevelTeleport, ThePartnersInRangeAreThoseOfAllTheLayersPortals) {
    unsigned int seed = 12345;
    const auto next = [&seed](float low, float high) {
        seed = seed * 1103515245u + 12345u;
        return low + (high - low) * static_cast<float>((seed >> 8) & 0xffff) / 65535.0f;
    };
    const float groups[] = {1.0f, 2.0f, 0.0f, -0.0f};
    std::vector<KXPObjectAssetTeleport*> portals;
    const auto add = [&] {
        PortalSettings settings;
        settings.group = groups[portals.size() % 4];
        portals.push_back(portal(ccp(next(-2000, 2000), next(-2000, 2000)), settings));
        portals.back()->setZOrder(static_cast<int>(next(0, 5)));
    };
    for (int count = 0; count < 300; ++count) {
        add();
    }
    portals[0]->setPosition(ccp(1.0e12f, 5.0f));
    portals[1]->setPosition(ccp(-3.0e9f, 1.0e10f));
    portals[2]->setPosition(ccp(std::numeric_limits<float>::quiet_NaN(), 0.0f));
    const float radii[] = {0.0f,
                           -5.0f,
                           1.0f,
                           128.0f,
                           300.0f,
                           600.0f,
                           5000.0f,
                           2.0e9f,
                           1.0e30f,
                           std::numeric_limits<float>::infinity(),
                           std::numeric_limits<float>::quiet_NaN()};
    size_t found = 0;
    int query = 0;
    // Every other search is made close to the portal just changed, in its group.
    const auto compare = [&](int change, KXPObjectAssetTeleport* changed) {
        for (int count = 0; count < 6; ++count, ++query) {
            float group = groups[query % 4];
            CCPoint center = query % 15 == 0 ? ccp(1.0e12f, 0.0f) : ccp(next(-2500, 2500), next(-2500, 2500));
            if (changed != nullptr && count % 2 == 0) {
                group = changed->groupId();
                center = changed->getPosition() + ccp(next(-100, 100), next(-100, 100));
            }
            const float radius = radii[query % 11];
            std::vector<KXPObjectAsset*> all;
            std::vector<KXPObjectAsset*> expected;
            scene->collectTeleports(all, group);
            for (KXPObjectAsset* each : all) {
                if (radius > ccpDistance(center, each->getPosition())) {
                    expected.push_back(each);
                }
            }
            std::vector<KXPObjectAsset*> near;
            scene->collectTeleportsNear(near, group, center, radius);
            ASSERT_EQ(near, expected) << "after change " << change << ", query " << query;
            found += near.size();
        }
    };
    compare(0, nullptr);
    for (int change = 1; change <= 240; ++change) {
        const auto index = static_cast<size_t>(next(3.0f, static_cast<float>(portals.size() - 1)));
        KXPObjectAssetTeleport* picked = portals[index];
        switch (change % 6) {
        case 0: // a step shorter than a float's epsilon, then a long one
            picked->setPosition(picked->getPosition() + ccp(1.0e-4f, 0.0f));
            compare(change, picked);
            picked->setPosition(ccp(next(-2000, 2000), next(-2000, 2000)));
            break;
        case 1:
            picked->setType(picked->getType() ^ KXPObject::kTypeCarriedByPath);
            break;
        case 2: // off the layer, for good or back at another depth
            if (change % 4 == 0) {
                portals.erase(portals.begin() + static_cast<std::ptrdiff_t>(index));
                picked->removeFromParent();
                picked = nullptr;
            } else {
                picked->retain();
                picked->removeFromParent();
                scene->getObjectLayer()->addChild(picked, static_cast<int>(next(0, 5)));
                picked->release();
            }
            break;
        case 3:
            picked->setZOrder(static_cast<int>(next(-3, 8)));
            compare(change, picked);
            scene->getObjectLayer()->sortAllChildren();
            break;
        case 4:
            add();
            picked = portals.back();
            compare(change, picked);
            scene->getObjectLayer()->sortAllChildren();
            break;
        default: // what is no portal comes and goes without a change
            character()->setZOrder(static_cast<int>(next(-3, 8)));
            scene->getObjectLayer()->sortAllChildren();
            break;
        }
        compare(change, picked);
    }
    EXPECT_GT(found, 1000u); // the searches found partners, not only nothing
}

// A damaged exported position must not reach the physics engine, which stops the program on it.
TEST_F(LevelTeleport, APortalAtAPlaceThatIsNotANumberGetsNoBody) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    KXPObjectAssetTeleport* lost = portal(ccp(nan, 10));
    KXPObjectAssetTeleport* turned = portal(ccp(0, 0));
    turned->setRotation(nan);
    KXPObjectAssetTeleport* sound = portal(ccp(100, 0));
    for (KXPObjectAssetTeleport* each : {lost, turned, sound}) {
        each->addToWorld(scene->getWorld(), false);
    }
    EXPECT_EQ(lost->getBody(), nullptr);
    EXPECT_EQ(turned->getBody(), nullptr);
    EXPECT_NE(sound->getBody(), nullptr);
}

} // namespace
