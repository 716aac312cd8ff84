// The paths' index of an object layer: what a search finds is what a scan of the layer's children
// finds, in their order, through additions, removals, moves, sorts and changes of type, state and
// body; a path catches through it in the frame an object came; past the budget of a frame the paths
// search in turn; and a path's list of what it carries stays in order through many removals and
// releases.

#include "model/KXDebugLog.h"
#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelObjectPath.h"
#include "player/objects/assets/KXPObjectAssetPath.h"
#include "player/objects/assets/KXPPathIndex.h"
#include "support/asset_world_support.h"
#include "support/model_class_helpers.h"

#include "cocos2d.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <vector>

using namespace cocos2d;
using kxtest::AssetWorld;
using kxtest::TestAsset;

namespace {

class PathIndex : public kxtest::AssetTest {};

// What a path may catch, found the way KXPObjectAssetPath::captureObjects scans the children.
std::vector<KXPObjectAsset*> scan(CCNode* layer, KXPPathIndex::Group group, int64_t assetId,
                                  const CCPoint& origin, float radius) {
    std::vector<KXPObjectAsset*> found;
    CCObject* item = nullptr;
    CCARRAY_FOREACH(layer->getChildren(), item) {
        KXPObjectAsset* object = ccNodeAs<KXPObjectAsset>(item);
        if (object == nullptr || object->getBody() == nullptr ||
            (object->getType() & KXPObject::kTypeCarriedByPath) != 0 ||
            object->getState() == KXPObject::kStateDead || object->getState() == KXPObject::kStateRemoved) {
            continue;
        }
        const uint32_t type = object->getType();
        if (group == KXPPathIndex::kCharacters && (type & KXPObject::kTypeCharacter) == 0) {
            continue;
        }
        if (group == KXPPathIndex::kUnits) {
            if ((type & KXPObject::kTypeUnit) == 0) {
                continue;
            }
            if (assetId >= 0 && static_cast<int64_t>(object->assetModel()->asset()->id()) != assetId) {
                continue;
            }
        }
        if (ccpDistance(object->getPosition(), origin) <= radius) {
            found.push_back(object);
        }
    }
    return found;
}

std::shared_ptr<KXModelObjectPath> pathModel(float radius, const std::string& affected = "kAll",
                                             const std::string& objectAsset = "") {
    auto model = createModel<KXModelObjectPath>();
    attributeOf<KXAttributeFloat>(*model, "Search Radius")->setValue(radius, true);
    attributeOf<KXAttributeFloat>(*model, "Speed")->setValue(10.0f, true);
    attributeOf<KXAttributeFloat>(*model, "Attraction Force")->setValue(100.0f, true);
    attributeOf<KXAttributeStringList>(*model, "Play Mode")->setValue("kPlayModeLoop", true);
    attributeOf<KXAttributeStringList>(*model, "Affected Asset")->setValue(affected, true);
    attributeOf<KXAttributeStringList>(*model, "Object Asset")->setValue(objectAsset, true);
    return model;
}

TEST_F(PathIndex, FindsWhatAScanOfTheChildrenFindsThroughEveryKindOfChange) {
    AssetWorld field;
    // Objects placed where no body can be made say so.
    const KXDebugLogCapture quiet;
    std::mt19937 random(20240611u);
    auto pick = [&random](int count) { return static_cast<int>(random() % static_cast<unsigned>(count)); };
    auto coordinate = [&random, &pick]() -> float {
        switch (pick(40)) {
        case 0:
            return std::numeric_limits<float>::quiet_NaN();
        case 1:
            return std::numeric_limits<float>::infinity();
        case 2:
            return -1e12f;
        case 3:
            return 6.87194e10f; // at the grid's edge
        default:
            return std::uniform_real_distribution<float>(-400.0f, 400.0f)(random);
        }
    };
    const std::vector<std::shared_ptr<KXModelObjectAsset>> models{
        kxtest::boxAssetModel(), kxtest::boxAssetModel(), kxtest::boxAssetModel()};
    const uint32_t types[] = {0u, KXPObject::kTypeUnit, KXPObject::kTypeCharacter,
                              KXPObject::kTypeUnit | KXPObject::kTypeCharacter,
                              KXPObject::kTypeUnit | KXPObject::kTypeCarriedByPath};
    auto addObject = [&]() {
        const CCPoint at(coordinate(), coordinate());
        if (pick(8) == 0) {
            field.layer->addChild(CCNode::create()); // not an asset: never found
            return;
        }
        TestAsset* object = TestAsset::make(models[static_cast<size_t>(pick(3))]);
        object->setType(types[pick(5)]);
        object->setPosition(at);
        field.layer->addChild(object, pick(3));
        object->setObjectLayer(field.layer);
        if (pick(4) != 0) {
            object->addToWorld(&field.world, false);
        }
    };
    for (int index = 0; index < 150; ++index) {
        addObject();
    }
    // Made over a layer that already has children.
    KXPPathIndex* index = KXPPathIndex::of(field.layer);
    ASSERT_NE(index, nullptr);
    EXPECT_EQ(KXPPathIndex::of(field.layer), index);

    size_t searches = 0;
    size_t hits = 0;
    for (int round = 0; round < 300; ++round) {
        for (int change = 0; change < 6; ++change) {
            CCArray* children = field.layer->getChildren();
            CCNode* child = children->count() > 0
                                ? static_cast<CCNode*>(children->objectAtIndex(
                                      static_cast<unsigned int>(pick(static_cast<int>(children->count())))))
                                : nullptr;
            TestAsset* object = child != nullptr ? dynamic_cast<TestAsset*>(child) : nullptr;
            switch (pick(9)) {
            case 0:
                addObject();
                break;
            case 1:
                if (child != nullptr) {
                    field.layer->removeChild(child, true);
                }
                break;
            case 2:
            case 3:
                if (child != nullptr) {
                    child->setPosition(ccp(coordinate(), coordinate()));
                }
                break;
            case 4:
                if (object != nullptr) {
                    object->setType(types[pick(5)]);
                }
                break;
            case 5:
                if (object != nullptr) {
                    const int32_t states[] = {KXPObject::kStateActive, 2, KXPObject::kStateDead,
                                              KXPObject::kStateRemoved};
                    object->KXPObject::setState(states[pick(4)]);
                }
                break;
            case 6:
                if (object != nullptr) {
                    object->addToWorld(&field.world, false);
                }
                break;
            case 7:
                if (child != nullptr) {
                    child->setZOrder(pick(5) - 2);
                    field.layer->sortAllChildren();
                }
                break;
            default:
                if (child != nullptr) {
                    // Small steps, mostly within a cell.
                    child->setPosition(child->getPosition() + ccp(static_cast<float>(pick(21) - 10), 3.0f));
                }
                break;
            }
        }
        // Removed children are freed here: the index must not hold on to them.
        CCPoolManager::sharedPoolManager()->pop();
        for (int query = 0; query < 12; ++query) {
            const KXPPathIndex::Group group = static_cast<KXPPathIndex::Group>(pick(3));
            int64_t assetId = -1;
            if (group == KXPPathIndex::kUnits && pick(2) == 0) {
                assetId = pick(4) == 0
                              ? 999999
                              : static_cast<int64_t>(models[static_cast<size_t>(pick(3))]->asset()->id());
            }
            float radius = std::uniform_real_distribution<float>(0.0f, 300.0f)(random);
            switch (pick(12)) {
            case 0:
                radius = std::numeric_limits<float>::infinity();
                break;
            case 1:
                radius = 1e30f;
                break;
            case 2:
                radius = -1.0f;
                break;
            case 3:
                radius = std::numeric_limits<float>::quiet_NaN();
                break;
            case 4:
                radius = 0.0f;
                break;
            default:
                break;
            }
            const CCPoint origin(coordinate(), coordinate());
            std::vector<KXPObjectAsset*> found;
            index->find(group, assetId, origin, radius, found);
            const std::vector<KXPObjectAsset*> expected = scan(field.layer, group, assetId, origin, radius);
            ASSERT_EQ(found, expected) << "round " << round << " group " << group << " asset " << assetId
                                       << " at " << origin.x << "," << origin.y << " radius " << radius;
            ++searches;
            hits += found.size();
        }
    }
    EXPECT_EQ(searches, 3600u);
    // The searches found something often enough to mean something.
    EXPECT_GT(hits, 3000u);
    // Whatever is let go of enters again.
    CCObject* item = nullptr;
    CCARRAY_FOREACH(field.layer->getChildren(), item) {
        if (KXPObjectAsset* object = ccNodeAs<KXPObjectAsset>(item)) {
            object->setType(KXPObject::kTypeUnit);
            object->KXPObject::setState(KXPObject::kStateActive);
            object->setPosition(ccp(1, 1));
        }
    }
    std::vector<KXPObjectAsset*> found;
    index->find(KXPPathIndex::kAll, -1, ccp(0, 0), 5.0f, found);
    EXPECT_EQ(found, scan(field.layer, KXPPathIndex::kAll, -1, ccp(0, 0), 5.0f));
    EXPECT_EQ(index->candidateCount(), found.size());
}

TEST_F(PathIndex, APathCatchesInChildOrderWhatCameInTheSameFrameAndNothingThatWent) {
    AssetWorld field;
    auto model = kxtest::boxAssetModel();
    TestAsset* gone = field.place(model, ccp(5, 0));
    auto* path = static_cast<KXPObjectAssetPath*>(KXPObjectAsset::create(pathModel(50.0f)));
    field.add(path, ccp(0, 0));
    TestAsset* before = field.place(model, ccp(-10, 0));
    field.frame(); // the index is made; both are carried
    ASSERT_EQ(path->carried().size(), 2u);
    EXPECT_EQ(path->carried()[0].object, gone);
    EXPECT_EQ(path->carried()[1].object, before);

    // Gone from the game and freed: the path lets go of its record, and the index of its entry.
    gone->setState(KXPObject::kStateRemoved);
    field.layer->removeChild(gone, true);
    CCPoolManager::sharedPoolManager()->pop();
    ASSERT_EQ(path->carried().size(), 1u);

    // Added in the frame before the path's update, as a spawner updated before it adds its copy,
    // one of them sorted in front of every child.
    TestAsset* spawned = field.place(model, ccp(0, 20));
    TestAsset* front = field.place(model, ccp(0, -20));
    TestAsset* far = field.place(model, ccp(0, 60));
    front->setZOrder(-1);
    field.layer->sortAllChildren();
    // A stranger walks in: moved within the radius just before the path's turn.
    far->setPosition(ccp(30, 30));
    path->update(kxtest::kFrame);
    ASSERT_EQ(path->carried().size(), 4u);
    EXPECT_EQ(path->carried()[1].object, front);
    EXPECT_EQ(path->carried()[2].object, spawned);
    EXPECT_EQ(path->carried()[3].object, far);
    // Once carried, no other path finds them.
    auto* other = static_cast<KXPObjectAssetPath*>(KXPObjectAsset::create(pathModel(500.0f)));
    field.add(other, ccp(0, 0));
    other->update(kxtest::kFrame);
    EXPECT_TRUE(other->carried().empty());
    // Let go (the path dies), they are found again, in child order.
    path->setState(KXPObject::kStateDead);
    other->update(kxtest::kFrame);
    ASSERT_EQ(other->carried().size(), 4u);
    EXPECT_EQ(other->carried()[0].object, front);
    EXPECT_EQ(other->carried()[1].object, before);
}

TEST_F(PathIndex, PastTheFramesBudgetThePathsSearchInTurnWithOneLogLine) {
    AssetWorld field;
    auto model = kxtest::boxAssetModel();
    // A dense spot just outside the paths' radius, in the cells they search.
    for (int count = 0; count < 2000; ++count) {
        field.place(model, ccp(45, 0));
    }
    std::vector<KXPObjectAssetPath*> paths;
    for (int count = 0; count < 600; ++count) {
        auto* path = static_cast<KXPObjectAssetPath*>(KXPObjectAsset::create(pathModel(40.0f)));
        path->retain();
        paths.push_back(path);
    }
    KXDebugLogCapture log;
    auto pass = [&]() {
        std::vector<bool> searched;
        for (KXPObjectAssetPath* path : paths) {
            searched.push_back(path->captureFromIndex(field.layer));
        }
        return searched;
    };
    const std::vector<bool> first = pass();
    KXPPathIndex* index = KXPPathIndex::of(field.layer);
    EXPECT_TRUE(index->budgetRanOut());
    EXPECT_GE(index->checksThisPass(), KXPPathIndex::kChecksPerPass);
    // The first paths searched, up to the budget; the rest did not.
    const size_t granted = static_cast<size_t>(std::count(first.begin(), first.end(), true));
    ASSERT_GT(granted, 100u);
    ASSERT_LT(granted, paths.size());
    for (size_t at = 0; at < paths.size(); ++at) {
        EXPECT_EQ(first[at], at < granted) << at;
    }
    // The next frame begins with those: the ones before them wait.
    const std::vector<bool> second = pass();
    for (size_t at = 0; at < paths.size(); ++at) {
        EXPECT_EQ(second[at], at >= granted) << at;
    }
    // They all had their turn: the frame after starts over.
    EXPECT_EQ(pass(), first);
    size_t lines = 0;
    for (const std::string& line : log.lines()) {
        lines += line.find("[KXPPathIndex]") != std::string::npos ? 1 : 0;
    }
    EXPECT_EQ(lines, 1u);
    // An object within their reach is caught by the first path that searches.
    TestAsset* near = field.place(model, ccp(0, 0));
    pass();
    ASSERT_EQ(paths[granted]->carried().size(), 1u);
    EXPECT_EQ(paths[granted]->carried()[0].object, near);
    for (KXPObjectAssetPath* path : paths) {
        path->cleanup();
        path->release();
    }
}

TEST_F(PathIndex, APathsListStaysInOrderThroughManyRemovalsAndReleases) {
    AssetWorld field;
    auto model = kxtest::boxAssetModel();
    std::vector<TestAsset*> objects;
    for (int count = 0; count < 3000; ++count) {
        // Away from the origin: none reaches its first target, which would end the escapes.
        objects.push_back(field.place(
            model, ccp(100.0f + static_cast<float>(count % 50), 100.0f + static_cast<float>(count / 50))));
    }
    auto* path = static_cast<KXPObjectAssetPath*>(KXPObjectAsset::create(pathModel(1000.0f)));
    field.add(path, ccp(0, 0));
    path->captureFromIndex(field.layer);
    ASSERT_EQ(path->carried().size(), objects.size());
    // Every third goes from the game.
    for (size_t at = 0; at < objects.size(); at += 3) {
        objects[at]->setState(KXPObject::kStateRemoved);
        field.layer->removeChild(objects[at], true);
    }
    CCPoolManager::sharedPoolManager()->pop();
    std::vector<TestAsset*> left;
    for (size_t at = 0; at < objects.size(); ++at) {
        if (at % 3 != 0) {
            left.push_back(objects[at]);
        }
    }
    ASSERT_EQ(path->carried().size(), left.size());
    for (size_t at = 0; at < left.size(); ++at) {
        ASSERT_EQ(path->carried()[at].object, left[at]);
    }
    // Every other one escapes (beyond 1.1 x the radius from its target): let go, in order.
    for (size_t at = 0; at < left.size(); at += 2) {
        left[at]->setPosition(ccp(5000, 0));
    }
    path->followStep();
    ASSERT_EQ(path->carried().size(), left.size() / 2);
    for (size_t at = 0; at < left.size(); ++at) {
        const bool carried = (left[at]->getType() & KXPObject::kTypeCarriedByPath) != 0;
        EXPECT_EQ(carried, at % 2 == 1) << at;
        if (at % 2 == 1) {
            ASSERT_EQ(path->carried()[at / 2].object, left[at]);
        }
    }
    // An object listed twice (its flag cleared by someone else and caught again) goes with both.
    TestAsset* twice = left[1];
    twice->setType(twice->getType() & ~static_cast<uint32_t>(KXPObject::kTypeCarriedByPath));
    path->captureFromIndex(field.layer);
    const size_t listed = path->carried().size();
    twice->setPosition(ccp(-5000, 0));
    path->followStep();
    EXPECT_EQ(path->carried().size(), listed - 2);
    EXPECT_EQ(twice->getType() & KXPObject::kTypeCarriedByPath, 0u);
}

} // namespace
