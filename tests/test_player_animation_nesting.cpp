// How far what an animation shows may nest: units shown by animations that show units (a chain,
// a fan, a unit that shows itself) are built a bounded number of levels down and within a bounded
// update cost, with a line when cut, and a valid fan is built whole; nodes that hang under one
// another as their models do are placed without closing a loop and at most so many levels down.

#include "model/KXDebugLog.h"
#include "player/objects/KXPAnimationNesting.h"
#include "player/objects/KXPAnimationObject.h"
#include "player/objects/assets/KXPObjectAssetUnit.h"
#include "support/asset_world_support.h"
#include "support/unit_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

// Units of each level down the tree a unit's idle animation shows (level 1 is what it shows).
std::vector<size_t> unitsPerLevel(KXPObjectAssetUnit* top) {
    std::vector<size_t> counts;
    std::vector<KXPObjectAssetUnit*> level{top};
    while (true) {
        std::vector<KXPObjectAssetUnit*> below;
        for (KXPObjectAssetUnit* unit : level) {
            KXPAnimationObject* shown = unit->idleAnimation();
            for (int index = 0; shown != nullptr && index < shown->entryCount(); ++index) {
                if (auto* nested = dynamic_cast<KXPObjectAssetUnit*>(shown->childNodeAt(index))) {
                    below.push_back(nested);
                }
            }
        }
        if (below.empty()) {
            return counts;
        }
        counts.push_back(below.size());
        level.swap(below);
    }
}

// What the built tree costs a frame: a node N levels down is updated 2^N times.
size_t updatesOf(const std::vector<size_t>& counts) {
    size_t total = 0;
    for (size_t level = 0; level < counts.size(); ++level) {
        total += counts[level] << (level + 1);
    }
    return total;
}

class AnimationNesting : public kxtest::AssetTest {
protected:
    std::unique_ptr<KXDebugLogCapture> log;
    std::vector<KXPObjectAssetUnit*> held;

    void SetUp() override {
        kxtest::AssetTest::SetUp();
        log.reset(new KXDebugLogCapture());
    }
    void TearDown() override {
        for (KXPObjectAssetUnit* unit : held) {
            unit->release();
        }
        log.reset();
        kxtest::AssetTest::TearDown();
        KXModel::releaseUnreachableLoops();
    }

    KXPObjectAssetUnit* make(const std::shared_ptr<KXModelObjectAssetUnit>& model) {
        auto* unit = dynamic_cast<KXPObjectAssetUnit*>(KXPObjectAsset::create(model));
        if (unit != nullptr) {
            unit->retain();
            held.push_back(unit);
        }
        return unit;
    }

    // `levels` units each showing `wide` units of the next in its idle animation; the last shows
    // the first again when `loop`. Returns the first.
    static std::shared_ptr<KXModelObjectAssetUnit> nested(int levels, int wide, bool loop) {
        std::vector<std::shared_ptr<KXModelObjectAssetUnit>> units;
        for (int level = 0; level < levels; ++level) {
            units.push_back(kxtest::unitModel("Level " + std::to_string(level), "kEnemyObjectType"));
        }
        for (int level = 0; level < levels; ++level) {
            const bool last = level + 1 == levels;
            if (last && !loop) {
                break;
            }
            const auto& next = units[last ? 0 : level + 1];
            for (int copy = 0; copy < wide; ++copy) {
                auto shown = kxtest::unitModel("Shown " + std::to_string(level), "kEnemyObjectType");
                shown->setAsset(next->assetObstacle());
                units[level]->assetObstacle()->idleAnimation()->addChild(shown, true);
            }
        }
        return units.front();
    }

    size_t linesSaying(const std::string& part) const {
        return std::count_if(log->lines().begin(), log->lines().end(),
                             [&](const std::string& line) { return line.find(part) != std::string::npos; });
    }
};

TEST_F(AnimationNesting, AValidFanIsBuiltWholeWithoutALine) {
    // Three levels of two dozen: far more than exported games show, all of it built.
    KXPObjectAssetUnit* top = make(nested(4, 24, false));
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(unitsPerLevel(top), (std::vector<size_t>{24, 24 * 24, 24 * 24 * 24}));
    EXPECT_EQ(linesSaying("left out"), 0u);
}

TEST_F(AnimationNesting, AChainStopsAtTheLevelBoundWithOneLine) {
    const size_t bound = KXPAnimationBuildScope::kMaxNestedLevels;
    KXPObjectAssetUnit* top = make(nested(static_cast<int>(bound) + 3, 1, false));
    EXPECT_EQ(unitsPerLevel(top), std::vector<size_t>(bound, 1));
    EXPECT_EQ(linesSaying("objects nested more than 12 levels down are left out"), 1u);

    // A unit that shows itself: the inner one shows nothing, with one line, instead of building
    // forever.
    log->clear();
    top = make(nested(1, 1, true));
    EXPECT_EQ(unitsPerLevel(top), std::vector<size_t>(1, 1));
    EXPECT_EQ(linesSaying("shown inside itself, it shows nothing there"), 1u);
    EXPECT_EQ(linesSaying("left out"), 0u);

    // A chain whose last unit's picture lies at the bound is whole.
    log->clear();
    top = make(nested(static_cast<int>(bound), 1, false));
    EXPECT_EQ(unitsPerLevel(top), std::vector<size_t>(bound - 1, 1));
    EXPECT_EQ(linesSaying("left out"), 0u);
}

TEST_F(AnimationNesting, AWideTreeStopsAtTheUpdateBudgetWithOneLine) {
    // Four wide at each of eight levels: 8^N updates by level N, were it built whole.
    KXPObjectAssetUnit* top = make(nested(9, 4, false));
    const std::vector<size_t> counts = unitsPerLevel(top);
    // The units' share of the budget: their assets' pictures take the rest.
    EXPECT_LE(updatesOf(counts), KXPAnimationBuildScope::kMaxNestedUpdates);
    EXPECT_GT(updatesOf(counts), KXPAnimationBuildScope::kMaxNestedUpdates / 4);
    EXPECT_EQ(linesSaying("updates a frame"), 1u);
    // Each outermost build has a budget of its own.
    log->clear();
    KXPObjectAssetUnit* again = make(nested(9, 4, false));
    EXPECT_EQ(unitsPerLevel(again), counts);
    EXPECT_EQ(linesSaying("updates a frame"), 1u);
}

TEST_F(AnimationNesting, AUnitShowingManyOfItselfShowsThemEmptyWithOneLine) {
    KXPObjectAssetUnit* top = make(nested(1, 8, true));
    EXPECT_EQ(unitsPerLevel(top), std::vector<size_t>(1, 8));
    EXPECT_EQ(linesSaying("shown inside itself, it shows nothing there"), 1u);
    EXPECT_EQ(linesSaying("updates a frame"), 0u);
}

TEST_F(AnimationNesting, ALoopIsCutAtItsFirstRepeatOnlyAndSaidOnce) {
    // Three units each showing the next, the last the first: the first's animation, met again
    // three levels down, shows nothing there.
    KXPObjectAssetUnit* top = make(nested(3, 1, true));
    EXPECT_EQ(unitsPerLevel(top), (std::vector<size_t>{1, 1, 1}));
    EXPECT_EQ(linesSaying("shown inside itself, it shows nothing there"), 1u);
    EXPECT_EQ(linesSaying("left out"), 0u);

    // A unit whose defeated animation shows a unit of its own asset: that one's idle animation is
    // no repeat and shows whole; only its defeated animation, the repeat, is empty.
    log->clear();
    std::shared_ptr<KXModelObjectAssetUnit> model = kxtest::unitModel("Self", "kEnemyObjectType");
    auto defeated = kxtest::pictureAnimation("Self Defeated", cocos2d::CCSize(40, 40));
    auto shown = kxtest::unitModel("Shown Self", "kEnemyObjectType");
    shown->setAsset(model->assetObstacle());
    defeated->addChild(shown, true);
    kxtest::setDefeatedAnimation(*model, defeated);
    top = make(model);
    ASSERT_NE(top, nullptr);
    KXPAnimationObject* outer = top->defeatedAnimation();
    ASSERT_NE(outer, nullptr);
    ASSERT_EQ(outer->entryCount(), 2);
    KXPObjectAssetUnit* inner = nullptr;
    for (int index = 0; index < outer->entryCount() && inner == nullptr; ++index) {
        inner = dynamic_cast<KXPObjectAssetUnit*>(outer->childNodeAt(index));
    }
    ASSERT_NE(inner, nullptr);
    ASSERT_NE(inner->idleAnimation(), nullptr);
    EXPECT_NE(inner->idleAnimation()->childNodeAt(0), nullptr);
    ASSERT_NE(inner->defeatedAnimation(), nullptr);
    EXPECT_EQ(inner->defeatedAnimation()->childNodeAt(0), nullptr);
    EXPECT_EQ(inner->defeatedAnimation()->childNodeAt(1), nullptr);
    EXPECT_EQ(linesSaying("shown inside itself, it shows nothing there"), 1u);
}

TEST(AnimationNestingPlaces, EntriesHangAsWantedWithoutLoopsAndAtMostTheDepthBound) {
    // 0 <- 1 <- 2, 3 at the top, 4 under a missing entry: as wanted.
    bool cut = true;
    EXPECT_EQ(kxpNestEntries({kNestTop, 0, 1, kNestTop, 99}, &cut),
              (std::vector<size_t>{kNestTop, 0, 1, kNestTop, kNestTop}));
    EXPECT_FALSE(cut);

    // Each other's parents, or a longer ring: the first placed closes nothing, the one that
    // would close the ring stays at the top.
    EXPECT_EQ(kxpNestEntries({1, 0}, &cut), (std::vector<size_t>{1, kNestTop}));
    EXPECT_EQ(kxpNestEntries({1, 2, 0}, &cut), (std::vector<size_t>{1, 2, kNestTop}));
    EXPECT_EQ(kxpNestEntries({0}, &cut), (std::vector<size_t>{kNestTop}));
    EXPECT_FALSE(cut);

    // A chain one longer than the bound, listed from its deepest end: the deepest entry starts
    // anew at the top.
    const size_t bound = kMaxNestDepth;
    std::vector<size_t> chain(bound + 1);
    for (size_t entry = 0; entry < chain.size(); ++entry) {
        chain[entry] = entry + 1 < chain.size() ? entry + 1 : kNestTop;
    }
    std::vector<size_t> placed = kxpNestEntries(chain, &cut);
    EXPECT_TRUE(cut);
    EXPECT_EQ(placed[0], kNestTop);
    EXPECT_TRUE(std::equal(placed.begin() + 1, placed.end(), chain.begin() + 1));

    // As deep as the bound: as wanted.
    chain.pop_back();
    chain.back() = kNestTop;
    chain.erase(chain.begin());
    for (size_t& parent : chain) {
        parent = parent == kNestTop ? kNestTop : parent - 1;
    }
    EXPECT_EQ(kxpNestEntries(chain, &cut), chain);
    EXPECT_FALSE(cut);
}

} // namespace
