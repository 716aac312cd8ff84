// Scene objects, screens, linkers and level sections: defaults, screen adaptation, ad pacing,
// linker search and the section copies that keep linkers inside the copy.
#include <algorithm>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cocos2d.h"
#include "model/KXDebugLog.h"
#include "model/KXMessagePackMap.h"
#include "model/KXModelController.h"
#include "model/attributes/KXAnimationCurve.h"
#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributePoint.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelComponentSpawner.h"
#include "model/classes/KXModelGeneralSettings.h"
#include "model/classes/KXModelLevelSection.h"
#include "model/classes/KXModelLinker.h"
#include "model/classes/KXModelObject.h"
#include "model/classes/KXModelObjectGroup.h"
#include "model/classes/KXModelQueries.h"
#include "model/classes/KXModelScreen.h"
#include "model/classes/KXModelScreenScene.h"
#include "model/classes/KXModelSound.h"
#include "model/references/KXAttributeObject.h"
#include "support/model_class_helpers.h"
#include "support/model_test_models.h"

using cocos2d::CCPoint;

namespace {

using ObjectPtr = std::shared_ptr<KXModelObject>;
using LinkerPtr = std::shared_ptr<KXModelLinker>;

class SceneObjectsTest : public ::testing::Test {
protected:
    void SetUp() override { resetModelCore(); }
    void TearDown() override {
        KXModelScreen::setAdsRemovedQuery(nullptr);
        cocos2d::CCDirector::sharedDirector()->purgeDirector();
        resetModelCore();
    }

    static LinkerPtr link(const ObjectPtr& a, const ObjectPtr& b) {
        LinkerPtr linker = make<KXModelLinker>();
        linker->setObjects(a, b, true);
        return linker;
    }

    // A view whose visible area is `width` x `height` at the origin.
    void showVisibleArea(float width, float height) {
        m_view.setFrameSize(width, height);
        m_view.setDesignResolutionSize(width, height, cocos2d::kResolutionExactFit);
        cocos2d::CCDirector::sharedDirector()->setOpenGLView(&m_view);
    }

    static void setOrientation(int orientation) {
        KXModelGeneralSettings::shared()->orientationAttribute()->setValue(
            static_cast<KXBaseModelGeneralSettings::Orientation>(orientation), true);
    }

    cocos2d::CCEGLViewProtocol m_view;
};

template <class T> bool holds(const std::vector<std::shared_ptr<T>>& list, const std::shared_ptr<T>& model) {
    return std::find(list.begin(), list.end(), model) != list.end();
}

// --- scene objects ---

TEST_F(SceneObjectsTest, ObjectDeclaresPlacementInStoredOrderWithDefaults) {
    ObjectPtr object = make<KXModelObject>();
    EXPECT_EQ(attributeNames(*object), (std::vector<std::string>{"Name", "Position", "Rotation", "Scale",
                                                                 "Opacity", "Z Depth", "Hidden"}));
    EXPECT_EQ(object->name(), "Untitled");
    EXPECT_EQ(object->animatedScale(0.0f, 0), CCPoint(1.0f, 1.0f));
    EXPECT_FLOAT_EQ(object->animatedOpacity(0.0f, 0), 1.0f);
    EXPECT_EQ(object->animatedPosition(0.0f, 0), CCPoint(0.0f, 0.0f));
    EXPECT_EQ(object->zDepth(), 0);
    EXPECT_FALSE(object->isHidden());
    EXPECT_EQ(object->opacityAttribute()->minimum(), -FLT_MAX);
    EXPECT_EQ(object->zDepthAttribute()->minimum(), INT_MIN);
    // No sprite container: the fallback size; no spawning.
    EXPECT_EQ(object->contentSize(0.0f), cocos2d::CCSize(100.0f, 100.0f));
    EXPECT_FALSE(object->isSpawner());
    EXPECT_FLOAT_EQ(object->spawnRate(), 0.0f);
    EXPECT_FALSE(object->spriteContainer());
    EXPECT_FALSE(object->collisionShape());
}

TEST_F(SceneObjectsTest, RotationWithoutACurveForTheKeyIsThePlainValue) {
    ObjectPtr object = make<KXModelObject>();
    object->rotationAttribute()->setValue(30.0f, true);
    // Curves under the keys beside 3, none under 3 itself.
    for (int key : {2, 4}) {
        auto* curve = new KXAnimationCurve();
        curve->addPoint(10.0f * static_cast<float>(key), 0.0f);
        object->rotationAttribute()->setAnimationCurves({curve}, key);
    }
    EXPECT_FLOAT_EQ(object->animatedRotation(2.5f, 2), 50.0f);
    EXPECT_FLOAT_EQ(object->animatedRotation(2.5f, 4), 70.0f);
    EXPECT_FLOAT_EQ(object->animatedRotation(2.5f, 3), 30.0f);
    EXPECT_FLOAT_EQ(object->randomizedRotation(), 30.0f); // no spread
}

TEST_F(SceneObjectsTest, ScreenAdjustedPositionKeepsEdgeDistancesOnAWiderScreen) {
    setOrientation(1);
    ObjectPtr object = make<KXModelObject>();

    showVisibleArea(1136.0f, 640.0f);
    for (float x : {100.0f, 500.0f, 1000.0f}) {
        object->setPosition(CCPoint(x, 600.0f));
        EXPECT_EQ(object->screenAdjustedPosition(0.0f, 0), CCPoint(x, 600.0f)) << x;
    }

    showVisibleArea(1280.0f, 640.0f);
    object->setPosition(CCPoint(1000.0f, 320.0f)); // 1000 > 0.7 * 1136: 1280 - 136
    EXPECT_EQ(object->screenAdjustedPosition(0.0f, 0), CCPoint(1144.0f, 320.0f));
    object->setPosition(CCPoint(100.0f, 50.0f)); // near edges stay
    EXPECT_EQ(object->screenAdjustedPosition(0.0f, 0), CCPoint(100.0f, 50.0f));
    object->setPosition(CCPoint(795.0f, 448.5f)); // just inside the middle band on x, past it on y
    EXPECT_EQ(object->screenAdjustedPosition(0.0f, 0), CCPoint(795.0f, 448.5f));
}

TEST_F(SceneObjectsTest, ScreenAdjustedPositionFollowsTheVisibleOriginAndPortraitDesign) {
    setOrientation(0); // design 640 x 1136
    ObjectPtr object = make<KXModelObject>();
    // Cropped view: visible 640 x 1000 centred in the 640 x 1136 design, origin y 68.
    m_view.setFrameSize(640.0f, 1000.0f);
    m_view.setDesignResolutionSize(640.0f, 1136.0f, cocos2d::kResolutionNoBorder);
    cocos2d::CCDirector::sharedDirector()->setOpenGLView(&m_view);
    ASSERT_NEAR(m_view.getVisibleOrigin().y, 68.0f, 0.01f);

    object->setPosition(CCPoint(600.0f, 1100.0f)); // both far: 0 + 640 - 40, 68 + 1000 - 36
    CCPoint adjusted = object->screenAdjustedPosition(0.0f, 0);
    EXPECT_NEAR(adjusted.x, 600.0f, 0.01f);
    EXPECT_NEAR(adjusted.y, 1032.0f, 0.01f);
    object->setPosition(CCPoint(10.0f, 20.0f)); // both near: shifted by the origin
    adjusted = object->screenAdjustedPosition(0.0f, 0);
    EXPECT_NEAR(adjusted.x, 10.0f, 0.01f);
    EXPECT_NEAR(adjusted.y, 88.0f, 0.01f);
}

TEST_F(SceneObjectsTest, CopyWithoutDepthOfTheRightClassHasNoDepthMember) {
    ObjectPtr source = make<KXModelObject>();
    KXBaseAttribute* depth = source->attribute("Z Depth");
    source->removeAttribute(depth);
    delete depth;
    new KXAttributeFloat("Z Depth", source.get()); // same name, another class
    source->setPosition(CCPoint(5.0f, 6.0f));

    auto copy = std::static_pointer_cast<KXModelObject>(source->clone(false, false));
    EXPECT_EQ(copy->zDepthAttribute(), nullptr);
    EXPECT_EQ(copy->zDepth(), 0);
    copy->setZDepth(4); // no member: nothing happens, nothing breaks
    EXPECT_EQ(copy->animatedPosition(0.0f, 0), CCPoint(5.0f, 6.0f));
    EXPECT_NE(copy->positionAttribute(), source->positionAttribute());
}

// The copied list is what the copy has: a source without the attribute (here one that lost it)
// gives a copy without the member, in every build.
TEST_F(SceneObjectsTest, CopyOfASourceWithoutDepthHasNoDepthMember) {
    ObjectPtr source = make<KXModelObject>();
    KXBaseAttribute* depth = source->attribute("Z Depth");
    source->removeAttribute(depth);
    delete depth;

    auto copy = std::static_pointer_cast<KXModelObject>(source->clone(true, false));
    EXPECT_EQ(copy->attribute("Z Depth"), nullptr);
    EXPECT_EQ(copy->zDepthAttribute(), nullptr);
    EXPECT_EQ(copy->zDepth(), 0);
    EXPECT_NE(copy->positionAttribute(), nullptr);
    EXPECT_FALSE(copy->isHidden());
}

TEST_F(SceneObjectsTest, DepthSetterAnnouncesOnlyChanges) {
    ObjectPtr object = make<KXModelObject>();
    RecordingObserver observer;
    object->addObserver(&observer);
    object->setZDepth(3);
    object->setZDepth(3);
    object->setPosition(CCPoint(1.0f, 2.0f));
    object->setPosition(CCPoint(1.0f, 2.0f));
    EXPECT_EQ(observer.events, (std::vector<std::string>{"attribute Z Depth 0", "attribute Position 0"}));
    EXPECT_EQ(object->zDepth(), 3);
    object->removeObserver(&observer);
}

// --- screens ---

TEST_F(SceneObjectsTest, ScreenDefaultsInStoredOrder) {
    auto screen = make<KXModelScreen>();
    EXPECT_EQ(attributeNames(*screen),
              (std::vector<std::string>{"Name", "Key", "Ad Banner", "Ad Interstitial", "Ad Banner Freq.",
                                        "Ad Interstitials Freq.", "Music", "Loop Music", "Stop BGM on Death",
                                        "Background Scene", "Idle Animation Loop", "Open Animation Frames",
                                        "Idle Animation Frames", "Close Animation Frames", "Muted"}));
    EXPECT_EQ(screen->adBannerFrequency(), 1);
    EXPECT_EQ(screen->adInterstitialsFrequency(), 1);
    EXPECT_TRUE(screen->loopMusic());
    EXPECT_EQ(screen->openAnimationFrames(), 40);
    EXPECT_EQ(screen->idleAnimationFrames(), 40);
    EXPECT_EQ(screen->closeAnimationFrames(), 0);
    EXPECT_FALSE(screen->isMuted());
    EXPECT_FALSE(screen->music());
}

TEST_F(SceneObjectsTest, BannerShowsFromTheThirdRequestAtFrequencyThree) {
    auto screen = make<KXModelScreen>();
    screen->keyAttribute()->setValue("menu", true);
    screen->adBannerAttribute()->setValue("kAdMob", true);
    screen->adBannerFrequencyAttribute()->setValue(3.9f, true); // truncated to 3

    KXDebugLogCapture log;
    std::vector<bool> answers;
    for (int i = 0; i < 5; ++i) {
        answers.push_back(screen->shouldShowBanner());
    }
    EXPECT_EQ(answers, (std::vector<bool>{false, false, true, true, true}));
    EXPECT_EQ(screen->bannerCounter, 5);
    EXPECT_EQ(log.lines().size(), 3u);
    EXPECT_TRUE(log.contains("[KXBaseModelScreen] banner will show for: menu"));

    screen->bannerCounter = 0; // the screen layer showed one
    EXPECT_FALSE(screen->shouldShowBanner());

    // A counter never reset stops at the largest value instead of overflowing.
    screen->bannerCounter = 2147483647;
    EXPECT_TRUE(screen->shouldShowBanner());
    EXPECT_EQ(screen->bannerCounter, 2147483647);
}

TEST_F(SceneObjectsTest, BannerRulesForRemovedAdsAndTheNoAdsNetwork) {
    auto screen = make<KXModelScreen>();
    screen->adBannerAttribute()->setValue("kAdMob", true);
    KXModelScreen::setAdsRemovedQuery([] { return true; });
    EXPECT_FALSE(screen->shouldShowBanner());
    EXPECT_EQ(screen->bannerCounter, 0);
    KXModelScreen::setAdsRemovedQuery([] { return false; });
    EXPECT_TRUE(screen->shouldShowBanner());

    screen->adBannerAttribute()->setValue(KXModelScreen::kNoAds, true);
    EXPECT_FALSE(screen->shouldShowBanner());
    screen->adBannerAttribute()->setValue("kNoAdsX", true);
    EXPECT_TRUE(screen->shouldShowBanner());
    screen->adBannerAttribute()->setValue("kNoAd", true);
    EXPECT_TRUE(screen->shouldShowBanner());
    screen->adBannerAttribute()->setValue("", true);
    EXPECT_TRUE(screen->shouldShowBanner());
}

TEST_F(SceneObjectsTest, FindScreenByKeyCreatesOnceAndIgnoresScenes) {
    auto scene = make<KXModelScreenScene>();
    scene->keyAttribute()->setValue("play", true);
    KXModelController::shared()->addModel(scene);

    std::shared_ptr<KXModelScreen> created = KXModelScreen::findScreenByKey("play");
    ASSERT_TRUE(created);
    EXPECT_EQ(created->typeId(), KXModelScreen::staticType());
    EXPECT_EQ(created->key(), "play");
    EXPECT_EQ(KXModelScreen::findScreenByKey("play"), created);
    EXPECT_EQ(getModels<KXModelScreen>().size(), 1u);

    auto object = make<KXModelObject>();
    EXPECT_FALSE(KXModelScreen::findScreenWithChild(object));
    created->addChild(object);
    EXPECT_EQ(KXModelScreen::findScreenWithChild(object), created);
}

TEST_F(SceneObjectsTest, ScreenObjectListFollowsObjectChildrenOnly) {
    auto screen = make<KXModelScreen>();
    auto first = make<KXModelObject>();
    auto second = make<KXModelObjectGroup>();
    auto spawner = make<KXModelComponentSpawner>();
    screen->addChild(first);
    screen->addChild(spawner);
    screen->addChild(second);
    EXPECT_EQ(screen->getObjects(), (KXModelScreen::ObjectList{first, second}));

    screen->removeChild(spawner);
    screen->removeChild(make<KXModelObject>()); // not a child: nothing
    screen->removeChild(first);
    EXPECT_EQ(screen->getObjects(), (KXModelScreen::ObjectList{second}));
    EXPECT_TRUE(screen->containsModel(second));
    EXPECT_FALSE(screen->containsModel(first));
    screen->removeAllChildren();
    EXPECT_TRUE(screen->getObjects().empty());
}

TEST_F(SceneObjectsTest, ScreenCopyKeepsMutedAndCountersAndRefillsItsObjects) {
    auto screen = make<KXModelScreen>();
    screen->setMuted(true);
    screen->bannerCounter = 2;
    screen->interstitialCounter = 7;
    auto object = make<KXModelObject>();
    screen->addChild(object);

    auto shallow = std::static_pointer_cast<KXModelScreen>(screen->clone(false, false));
    EXPECT_TRUE(shallow->isMuted());
    EXPECT_EQ(shallow->bannerCounter, 2);
    EXPECT_EQ(shallow->interstitialCounter, 7);
    EXPECT_EQ(shallow->getObjects(), (KXModelScreen::ObjectList{object}));

    auto deep = std::static_pointer_cast<KXModelScreen>(screen->clone(true, false));
    ASSERT_EQ(deep->getObjects().size(), 1u);
    EXPECT_NE(deep->getObjects()[0], object);
}

TEST_F(SceneObjectsTest, SetMutedAndMusicAnnounceChangesOnly) {
    auto screen = make<KXModelScreen>();
    RecordingObserver observer;
    screen->addObserver(&observer);
    screen->setMuted(true);
    screen->setMuted(true);
    auto sound = std::static_pointer_cast<KXModelSound>(KXModelSound::create());
    screen->setMusic(sound);
    screen->setMusic(sound);
    EXPECT_EQ(observer.events, (std::vector<std::string>{"attribute Muted 0", "attribute Music 0"}));
    EXPECT_EQ(screen->music(), sound);
    EXPECT_EQ(sound->referrers().size(), 1u);
    screen->setMusic(nullptr);
    EXPECT_TRUE(sound->referrers().empty());
    screen->removeObserver(&observer);
}

// --- linkers ---

TEST_F(SceneObjectsTest, LinkerDefaultsAndReferrers) {
    LinkerPtr linker = make<KXModelLinker>();
    EXPECT_EQ(attributeNames(*linker), (std::vector<std::string>{"Name", "Object A", "Object B", "Speed",
                                                                 "Torque", "Button Activated"}));
    EXPECT_FLOAT_EQ(linker->torque(), 200.0f);
    EXPECT_FALSE(linker->objectA());

    ObjectPtr o1 = make<KXModelObject>();
    ObjectPtr o2 = make<KXModelObject>();
    RecordingObserver observer;
    linker->addObserver(&observer);
    linker->setObjects(o1, o2);
    EXPECT_EQ(observer.events, (std::vector<std::string>{"model "}));
    linker->setObjects(o2, o2, true);
    EXPECT_TRUE(o1->referrers().empty());
    EXPECT_EQ(o2->referrers().size(), 2u);
    linker->removeObserver(&observer);
}

TEST_F(SceneObjectsTest, FindLinkersDirectTransitiveAndThroughCycles) {
    ObjectPtr o1 = make<KXModelObject>();
    ObjectPtr o2 = make<KXModelObject>();
    ObjectPtr o3 = make<KXModelObject>();
    ObjectPtr lonely = make<KXModelObject>();
    EXPECT_TRUE(KXModelLinker::findLinkers(lonely, false).empty());
    EXPECT_TRUE(KXModelLinker::findLinkers(lonely, true).empty());

    LinkerPtr l1 = link(o1, o2);
    LinkerPtr l2 = link(o2, o3);
    // Another class referring to the object is not a linker.
    auto screen = make<KXModelScreen>();
    auto* reference = new KXAttributeObject("Test Target", screen.get());
    reference->setValue(o1, true);

    EXPECT_EQ(KXModelLinker::findLinkers(o1, false), (std::vector<LinkerPtr>{l1}));
    std::vector<LinkerPtr> reached = KXModelLinker::findLinkers(o1, true);
    EXPECT_EQ(reached.size(), 2u);
    EXPECT_TRUE(holds(reached, l1));
    EXPECT_TRUE(holds(reached, l2));

    LinkerPtr l3 = link(o3, o1); // closes a cycle
    reached = KXModelLinker::findLinkers(o2, true);
    EXPECT_EQ(reached.size(), 3u);
    EXPECT_TRUE(holds(reached, l3));
}

// --- level sections ---

TEST_F(SceneObjectsTest, SectionDefaultsAndOrderedObjects) {
    auto section = make<KXModelLevelSection>();
    EXPECT_EQ(attributeNames(*section),
              (std::vector<std::string>{"Name", "Init Section", "Muted", "Solo", "Start Distance",
                                        "End Distance", "Width", "Play Cooldown"}));
    EXPECT_FLOAT_EQ(section->endDistance(), -1.0f);
    EXPECT_FALSE(section->objectAt(0));

    ObjectPtr first = make<KXModelObject>();
    ObjectPtr second = make<KXModelObject>();
    section->addChild(first);
    section->addChild(make<KXModelLinker>());
    section->addChild(second);
    EXPECT_EQ(section->objectAt(1), second);
    EXPECT_FALSE(section->objectAt(2));
    section->removeChild(first);
    EXPECT_EQ(section->objectAt(0), second);
    section->removeAllChildren();
    EXPECT_FALSE(section->objectAt(0));

    section->playCooldownAttribute()->setValue(2.9f, true);
    EXPECT_EQ(section->playCooldown(), 2);
}

// A width moves the level on only when the float sum at the distance it is laid at moves by a
// point: else the section would be laid again and again in one place.
TEST_F(SceneObjectsTest, ASectionMovesTheLevelOnOnlyByAWidthItsDistanceKeeps) {
    auto section = make<KXModelLevelSection>();
    const auto lengthOf = [&section](float width, float distance) {
        section->widthAttribute()->setValue(width, true);
        return section->laidLength(distance);
    };
    EXPECT_EQ(lengthOf(1136.0f, 0.0f), 1136.0f);
    EXPECT_EQ(lengthOf(1.0f, 0.0f), 1.0f);
    EXPECT_EQ(lengthOf(1.0f, -3000.0f), 1.0f);
    for (const float thin : {1.0e-45f, 1.0e-6f, 0.01f, 0.99f}) {
        EXPECT_EQ(lengthOf(thin, 0.0f), 0.0f) << thin;
    }
    // Floats 8 apart at 1e8: 2 is rounded away, 7 moves the sum by 8.
    EXPECT_EQ(lengthOf(2.0f, 1.0e8f), 0.0f);
    EXPECT_EQ(lengthOf(7.0f, 1.0e8f), 7.0f);
    EXPECT_EQ(lengthOf(1.0f, 16777216.0f), 0.0f);
    EXPECT_EQ(lengthOf(100.0f, std::numeric_limits<float>::infinity()), 0.0f);
    EXPECT_EQ(lengthOf(100.0f, std::numeric_limits<float>::quiet_NaN()), 0.0f);
    for (const float none : {0.0f, -5.0f, std::numeric_limits<float>::quiet_NaN()}) {
        EXPECT_EQ(lengthOf(none, 0.0f), 0.0f) << none;
    }
}

TEST_F(SceneObjectsTest, SectionSwitchesAnnounceOnce) {
    auto section = make<KXModelLevelSection>();
    RecordingObserver observer;
    section->addObserver(&observer);
    section->setSolo(true);
    section->setSolo(true);
    section->setMuted(false);
    EXPECT_EQ(observer.events, (std::vector<std::string>{"attribute Solo 0"}));
    section->removeObserver(&observer);
}

TEST_F(SceneObjectsTest, DeepSectionCloneRetargetsInnerLinkersAndDropsOuterOnes) {
    auto section = make<KXModelLevelSection>();
    ObjectPtr o1 = make<KXModelObject>();
    ObjectPtr o2 = make<KXModelObject>();
    ObjectPtr outside = make<KXModelObject>();
    o1->setName("o1");
    o2->setName("o2");
    LinkerPtr inner = link(o1, o2);
    LinkerPtr outer = link(o1, outside);
    auto group = make<KXModelObjectGroup>();
    group->addChild(o2);
    group->addChild(outside);
    for (const std::shared_ptr<KXModel>& child :
         std::vector<std::shared_ptr<KXModel>>{o1, inner, o2, group, outer}) {
        section->addChild(child);
    }

    auto copy = std::static_pointer_cast<KXModelLevelSection>(section->clone(true, false));
    ASSERT_EQ(copy->objects().size(), 3u); // o1', o2', group'
    ObjectPtr o1Copy = copy->objectAt(0);
    ObjectPtr o2Copy = copy->objectAt(1);
    EXPECT_EQ(o1Copy->name(), "o1");
    EXPECT_NE(o1Copy, o1);
    EXPECT_NE(o2Copy, o2);

    std::vector<LinkerPtr> linkers = getChildren<KXModelLinker>(*copy);
    ASSERT_EQ(linkers.size(), 1u);
    EXPECT_NE(linkers[0], inner);
    EXPECT_EQ(linkers[0]->objectA(), o1Copy);
    EXPECT_EQ(linkers[0]->objectB(), o2Copy);
    // The source linker still joins the source objects.
    EXPECT_EQ(inner->objectA(), o1);
    EXPECT_EQ(KXModelLinker::findLinkers(o1Copy, false), linkers);

    // The group's copy holds the copy of the section's object and the outside object itself.
    auto groupCopy = modelCast<KXModelObjectGroup>(copy->objectAt(2));
    ASSERT_TRUE(groupCopy);
    EXPECT_EQ(groupCopy->children(), (std::vector<std::shared_ptr<KXModel>>{o2Copy, outside}));
}

TEST_F(SceneObjectsTest, ShallowSectionCloneSharesTheChildren) {
    auto section = make<KXModelLevelSection>();
    ObjectPtr object = make<KXModelObject>();
    section->addChild(object);
    auto copy = std::static_pointer_cast<KXModelLevelSection>(section->clone(false, false));
    EXPECT_EQ(copy->objectAt(0), object);
    EXPECT_EQ(object->getParents().size(), 2u);
}

} // namespace
