// Model-reference attributes: resolving stored ids with their kind checks, referrer lists,
// notifications, copies and the stored form.

#include "base/CCDictionary.h"
#include "base/CCString.h"
#include "model/KXMessagePackMap.h"
#include "model/KXModelController.h"
#include "model/KXModelObserver.h"
#include "model/attributes/KXAttributeNumbers.h"
#include "model/classes/KXModelClassList.h"
#include "model/classes/KXModelQueries.h"
#include "model/references/KXAttributeAnimation.h"
#include "model/references/KXAttributeAsset.h"
#include "model/references/KXAttributeObject.h"
#include "model/references/KXAttributeObjectAsset.h"
#include "model/references/KXAttributeParticlesEmitters.h"
#include "model/references/KXAttributeShape.h"
#include "model/references/KXAttributeSound.h"
#include "model/references/KXAttributeSprite.h"
#include "support/model_class_helpers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace {

constexpr int kValueKey = 7;

struct ChangeCounter : KXModelObserver {
    void attributeChanged(KXBaseAttribute*, int flag) override {
        if (flag == 0) {
            ++changes;
        }
    }
    int changes = 0;
};

bool refersTo(const KXModel& model, const KXBaseAttribute* attribute) {
    const auto& referrers = model.referrers();
    return std::find(referrers.begin(), referrers.end(), attribute) != referrers.end();
}

class ModelReferencesTest : public ::testing::Test {
protected:
    void SetUp() override {
        store().clear();
        KXMessagePackMap::resetKeyState();
        KXMessagePackMap::installKeyTable(
            {{"value", kValueKey}, {"connectedModelId", 1}, {"attributeName", 2}});
    }
    void TearDown() override {
        store().clear();
        KXMessagePackMap::resetKeyState();
    }
    static KXModelController& store() { return *KXModelController::shared(); }

    template <class T> static std::shared_ptr<T> makeStored() {
        auto model = std::static_pointer_cast<T>(T::create());
        store().addModel(model);
        return model;
    }

    // A connection map holding only "value".
    template <class V> KXMessagePackMap connectionsWithValue(const V& value) {
        KXMessagePackMap map(m_zone);
        map.set("value", value);
        return map;
    }

    msgpack::zone m_zone;
};

TEST_F(ModelReferencesTest, StoredIdResolvesOnlyToTheReferencedKind) {
    auto owner = makeStored<KXModelObjectAssetUnit>();
    auto* reference = new KXAttributeObjectAsset("Test Target", owner.get());
    auto trail = makeStored<KXModelObjectTrail>(); // derived from the object asset
    auto sound = makeStored<KXModelSound>();

    reference->unpackConnections(connectionsWithValue(trail->id()));
    EXPECT_EQ(reference->value(), trail);
    EXPECT_TRUE(refersTo(*trail, reference));

    reference->unpackConnections(connectionsWithValue(sound->id()));
    EXPECT_FALSE(reference->value());
    EXPECT_FALSE(refersTo(*trail, reference));
    EXPECT_FALSE(refersTo(*sound, reference));

    reference->setValue(trail, true);
    reference->unpackConnections(connectionsWithValue(sound->id() + 1000));
    EXPECT_FALSE(reference->value());

    reference->setValue(trail, true);
    reference->unpackConnections(KXMessagePackMap(m_zone));
    EXPECT_FALSE(reference->value());
}

TEST_F(ModelReferencesTest, StoredIdOfTheWrongTypeThrows) {
    auto owner = makeStored<KXModelObject>();
    auto* reference = new KXAttributeSound("Test Click Sound", owner.get());
    EXPECT_THROW(reference->unpackConnections(connectionsWithValue(std::string("12"))), msgpack::type_error);
    EXPECT_THROW(reference->unpackConnections(connectionsWithValue(-3)), msgpack::type_error);
}

TEST_F(ModelReferencesTest, SpriteResolvesOnlyToExactlyASpriteContainerAndKeepsItOtherwise) {
    auto owner = makeStored<KXModelObjectImage>();
    auto* sprite = new KXAttributeSprite("Test Picture", owner.get());
    auto container = makeStored<KXModelSpriteContainer>();
    auto animation = makeStored<KXModelAnimation>();

    sprite->unpackConnections(connectionsWithValue(container->id()));
    EXPECT_EQ(sprite->value(), container);

    sprite->unpackConnections(connectionsWithValue(animation->id()));
    EXPECT_EQ(sprite->value(), container);
    sprite->unpackConnections(KXMessagePackMap(m_zone));
    EXPECT_EQ(sprite->value(), container);
    EXPECT_TRUE(refersTo(*container, sprite));
}

TEST_F(ModelReferencesTest, ShapeWithoutStoredValueIsClearedSpriteIsNot) {
    auto owner = makeStored<KXModelAsset>();
    auto* shape = new KXAttributeShape("Test Collision Shape", owner.get());
    auto* sprite = new KXAttributeSprite("Test Picture", owner.get());
    shape->setValue(std::static_pointer_cast<KXModelPolygon>(KXModelPolygon::create()));
    sprite->setValue(std::static_pointer_cast<KXModelSpriteContainer>(KXModelSpriteContainer::create()));

    shape->unpackConnections(KXMessagePackMap(m_zone));
    sprite->unpackConnections(KXMessagePackMap(m_zone));
    EXPECT_FALSE(shape->value());
    EXPECT_TRUE(sprite->value());
}

TEST_F(ModelReferencesTest, ModelConnectionsVisitOnlyTheAttributesTheyName) {
    KXMessagePackMap::installKeyTable(
        {{"value", kValueKey}, {"id", 1}, {"Test Collision Shape", 3}, {"Test Shadow", 4}});
    auto owner = makeStored<KXModelAsset>();
    auto* shape = new KXAttributeShape("Test Collision Shape", owner.get());
    auto* shadow = new KXAttributeShape("Test Shadow", owner.get());
    shape->setValue(std::static_pointer_cast<KXModelPolygon>(KXModelPolygon::create()));
    shadow->setValue(std::static_pointer_cast<KXModelPolygon>(KXModelPolygon::create()));

    KXMessagePackMap connections(m_zone);
    connections.set("id", owner->id());
    KXMessagePackMap emptyEntry(m_zone);
    emptyEntry.set("Test Shadow", 0u); // any entry that is not "value"
    connections.set("Test Collision Shape", emptyEntry);
    owner->unpackConnections(KXMessagePackMap::fromObject(connections.toObject()));

    EXPECT_FALSE(shape->value());
    EXPECT_TRUE(shadow->value());
}

TEST_F(ModelReferencesTest, SettingTheSameModelIsSilentSpriteAlwaysNotifies) {
    auto owner = std::static_pointer_cast<KXModelObject>(KXModelObject::create());
    ChangeCounter counter;
    owner->addObserver(&counter);
    auto* sound = new KXAttributeSound("Test Click Sound", owner.get());
    auto* sprite = new KXAttributeSprite("Test Picture", owner.get());
    auto soundModel = std::static_pointer_cast<KXModelSound>(KXModelSound::create());
    auto container = std::static_pointer_cast<KXModelSpriteContainer>(KXModelSpriteContainer::create());

    sound->setValue(soundModel);
    sound->setValue(soundModel);
    EXPECT_EQ(counter.changes, 1);
    sound->setValue(nullptr, true);
    EXPECT_EQ(counter.changes, 1);
    EXPECT_FALSE(refersTo(*soundModel, sound));

    sprite->setValue(container);
    sprite->setValue(container);
    EXPECT_EQ(counter.changes, 3);
    sprite->setValue(container, true);
    EXPECT_EQ(counter.changes, 3);
    EXPECT_EQ(std::count(container->referrers().begin(), container->referrers().end(), sprite), 1);
    owner->removeObserver(&counter);
}

TEST_F(ModelReferencesTest, ReferrerListFollowsTheReferenceAndTheAttributesLife) {
    auto soundA = std::static_pointer_cast<KXModelSound>(KXModelSound::create());
    auto soundB = std::static_pointer_cast<KXModelSound>(KXModelSound::create());
    {
        auto owner = std::static_pointer_cast<KXModelObject>(KXModelObject::create());
        auto* reference = new KXAttributeSound("Test Click Sound", owner.get());
        reference->setValue(soundA);
        EXPECT_TRUE(refersTo(*soundA, reference));
        reference->setValue(soundB);
        EXPECT_TRUE(soundA->referrers().empty());
        EXPECT_TRUE(refersTo(*soundB, reference));
        EXPECT_EQ(soundB.use_count(), 2);
    }
    EXPECT_TRUE(soundB->referrers().empty());
    EXPECT_EQ(soundB.use_count(), 1);
}

TEST_F(ModelReferencesTest, ExcludedFromAtlasMarkReachesEveryContainer) {
    auto makeContainer = [] {
        auto container = std::static_pointer_cast<KXModelSpriteContainer>(KXModelSpriteContainer::create());
        attributeOf<KXAttributeBool>(*container, "Excluded From Atlas");
        return container;
    };
    auto excluded = [](const KXModel& container) {
        return static_cast<KXAttributeBool*>(container.attribute("Excluded From Atlas"))->value();
    };
    auto owner = makeStored<KXModelObjectFlag>();
    auto* sprite = new KXAttributeSprite("Test Picture", owner.get());
    auto first = makeContainer();
    sprite->setValue(first);
    EXPECT_FALSE(excluded(*first));
    sprite->setExcludedFromAtlas(true);
    EXPECT_TRUE(excluded(*first));

    auto second = makeContainer();
    store().addModel(second);
    sprite->unpackConnections(connectionsWithValue(second->id()));
    EXPECT_EQ(sprite->value(), second);
    EXPECT_TRUE(excluded(*second));

    auto third = makeContainer();
    KXAttributeSprite copy("Copy", nullptr, *sprite);
    EXPECT_TRUE(copy.isExcludedFromAtlas());
    copy.setValue(third, true);
    EXPECT_TRUE(excluded(*third));
}

TEST_F(ModelReferencesTest, CopiesShareModelsButOwnTheirShapeAndAnimation) {
    auto owner = std::static_pointer_cast<KXModelAsset>(KXModelAsset::create());
    auto* sound = new KXAttributeSound("Test Sound", owner.get());
    auto* asset = new KXAttributeAsset("Test Asset", owner.get());
    auto* shape = new KXAttributeShape("Test Collision Shape", owner.get());
    auto* animation = new KXAttributeAnimation("Test Idle Animation", owner.get());
    sound->setValue(std::static_pointer_cast<KXModelSound>(KXModelSound::create()));
    asset->setValue(std::static_pointer_cast<KXModelAsset>(KXModelAssetObstacle::create()));
    auto circle = std::static_pointer_cast<KXModelPolygon>(KXModelCircle::create());
    shape->setValue(circle);
    auto idle = std::static_pointer_cast<KXModelAnimation>(KXModelAnimation::create());
    idle->addChild(KXModelObjectImage::create());
    animation->setValue(idle);
    animation->setLoop(false);

    auto copy = owner->clone(false, false);
    auto* soundCopy = static_cast<KXAttributeSound*>(copy->attribute("Test Sound"));
    auto* assetCopy = static_cast<KXAttributeAsset*>(copy->attribute("Test Asset"));
    auto* shapeCopy = static_cast<KXAttributeShape*>(copy->attribute("Test Collision Shape"));
    auto* animationCopy = static_cast<KXAttributeAnimation*>(copy->attribute("Test Idle Animation"));
    ASSERT_TRUE(soundCopy && assetCopy && shapeCopy && animationCopy);
    EXPECT_EQ(soundCopy->typeId(), KXAttributeSound::staticType());
    EXPECT_EQ(animationCopy->typeId(), KXAttributeAnimation::staticType());

    EXPECT_EQ(soundCopy->value(), sound->value());
    EXPECT_EQ(assetCopy->value(), asset->value());
    EXPECT_EQ(sound->value()->referrers().size(), 2u);

    ASSERT_TRUE(shapeCopy->value());
    EXPECT_NE(shapeCopy->value(), circle);
    EXPECT_EQ(shapeCopy->value()->typeId(), KXModelCircle::staticType());
    EXPECT_EQ(circle->referrers(), std::vector<KXBaseAttribute*>{shape});

    ASSERT_TRUE(animationCopy->value());
    EXPECT_NE(animationCopy->value(), idle);
    EXPECT_EQ(animationCopy->value()->children().size(), 1u);
    EXPECT_NE(animationCopy->value()->children()[0], idle->children()[0]);
    EXPECT_FALSE(animationCopy->loop());
    EXPECT_FALSE(animationCopy->animation());

    shapeCopy->setValue(nullptr);
    EXPECT_EQ(shape->value(), circle);
}

TEST_F(ModelReferencesTest, LoadedAnimationHandsOverItsLoopFlag) {
    auto owner = makeStored<KXModelAssetCharacter>();
    auto* reference = new KXAttributeAnimation("Test Run Animation", owner.get());
    auto animation = makeStored<KXModelAnimation>();
    auto* loop = attributeOf<KXAttributeBool>(*animation, "Loop");
    loop->setValue(false, true);

    EXPECT_TRUE(reference->loop());
    reference->unpackConnections(connectionsWithValue(animation->id()));
    EXPECT_EQ(reference->value(), animation);
    EXPECT_FALSE(reference->loop());
}

std::shared_ptr<KXModelSpriteContainer> containerWithSprites(const std::string& name, int sprites) {
    auto container = std::static_pointer_cast<KXModelSpriteContainer>(KXModelSpriteContainer::create());
    container->setName(name);
    for (int i = 0; i < sprites; ++i) {
        container->addChild(KXModelSprite::create());
    }
    container->addChild(KXModelSound::create()); // not a sprite: not counted
    return container;
}

TEST_F(ModelReferencesTest, AddFrameCreatesARegisteredAnimationWithOneImage) {
    auto owner = std::static_pointer_cast<KXModelAsset>(KXModelAsset::create());
    auto* reference = new KXAttributeAnimation("Test Idle Animation", owner.get());
    ChangeCounter counter;
    owner->addObserver(&counter);

    auto container = containerWithSprites("Walk", 15);
    reference->addFrame(container);
    std::shared_ptr<KXModelAnimation> animation = reference->value();
    ASSERT_TRUE(animation);
    EXPECT_EQ(getModels<KXModelAnimation>(), std::vector<std::shared_ptr<KXModelAnimation>>{animation});
    EXPECT_TRUE(refersTo(*animation, reference));
    EXPECT_EQ(reference->animation(), container);
    EXPECT_EQ(counter.changes, 1);

    ASSERT_EQ(animation->children().size(), 1u);
    auto image = modelCast<KXModelObjectImage>(animation->children()[0]);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->name(), "Walk");
    EXPECT_EQ(store().getModel(image->id()), image);
    owner->removeObserver(&counter);
}

TEST_F(ModelReferencesTest, AddFrameReplacesTheFramesAndSetsTheDurationFromTheSprites) {
    auto owner = std::static_pointer_cast<KXModelAsset>(KXModelAsset::create());
    auto* reference = new KXAttributeAnimation("Test Idle Animation", owner.get());
    auto animation = std::static_pointer_cast<KXModelAnimation>(KXModelAnimation::create());
    auto* duration = attributeOf<KXAttributeFloat>(*animation, "Duration");
    reference->setValue(animation);

    reference->addFrame(containerWithSprites("Fifteen", 15));
    EXPECT_FLOAT_EQ(duration->value(), 0.5f);
    ASSERT_EQ(animation->children().size(), 1u);
    std::shared_ptr<KXModel> first = animation->children()[0];

    reference->addFrame(containerWithSprites("Thirty", 30));
    EXPECT_FLOAT_EQ(duration->value(), 1.0f);
    ASSERT_EQ(animation->children().size(), 1u);
    EXPECT_NE(animation->children()[0], first);
    EXPECT_EQ(animation->children()[0]->name(), "Thirty");
    EXPECT_EQ(reference->value(), animation);
}

TEST_F(ModelReferencesTest, AddFrameWithoutContainerMakesAnEmptyAnimation) {
    auto owner = std::static_pointer_cast<KXModelAsset>(KXModelAsset::create());
    auto* reference = new KXAttributeAnimation("Test Idle Animation", owner.get());
    reference->addFrame(nullptr);
    ASSERT_TRUE(reference->value());
    EXPECT_TRUE(reference->value()->children().empty());
    EXPECT_FALSE(reference->animation());
    EXPECT_EQ(store().getModel(reference->value()->id()), reference->value());
}

TEST_F(ModelReferencesTest, StoredFormWritesValueOnlyWhenAModelIsReferenced) {
    auto owner = std::static_pointer_cast<KXModelObject>(KXModelObject::create());
    auto* reference = new KXAttributeObject("Test Object A", owner.get());

    KXMessagePackMap empty(m_zone);
    reference->packConnections(empty);
    EXPECT_TRUE(empty.empty());
    reference->packValues(empty);
    EXPECT_TRUE(empty.empty());
    KXMessagePackMap::setCollectingKeys(true);
    reference->registerKeys();
    EXPECT_EQ(KXMessagePackMap::registeredKeyNames().count("value"), 0u);
    KXMessagePackMap::setCollectingKeys(false);

    auto target = std::static_pointer_cast<KXModelObject>(KXModelObjectLabel::create());
    reference->setValue(target);
    KXMessagePackMap written(m_zone);
    reference->packConnections(written);
    uint32_t id = 0;
    ASSERT_TRUE(written.get("value", id));
    EXPECT_EQ(id, target->id());
    EXPECT_EQ(written.keyIds(), std::vector<KXMessagePackMap::KeyId>{kValueKey});
    reference->registerKeys();
    EXPECT_EQ(KXMessagePackMap::registeredKeyNames().count("value"), 1u);
}

TEST_F(ModelReferencesTest, DictionaryFormCarriesTheIdAsText) {
    auto owner = makeStored<KXModelObject>();
    auto* reference = new KXAttributeSound("Test Click Sound", owner.get());
    auto sound = makeStored<KXModelSound>();

    cocos2d::CCDictionary* stored = cocos2d::CCDictionary::create();
    stored->setObject(cocos2d::CCString::createWithFormat("%u", sound->id()), "value");
    reference->loadConnectionFromDictionary(stored);
    EXPECT_EQ(reference->value(), sound);

    cocos2d::CCDictionary* saved = reference->saveConnectionToDictionary();
    ASSERT_NE(saved, nullptr);
    EXPECT_EQ(saved->valueForKey("value")->getString(), std::to_string(sound->id()));

    cocos2d::CCDictionary* blank = cocos2d::CCDictionary::create();
    blank->setObject(cocos2d::CCString::create(""), "value");
    reference->loadConnectionFromDictionary(blank);
    EXPECT_EQ(reference->value(), sound);
}

TEST_F(ModelReferencesTest, StoreRegistersModelsOfShapeAnimationAndSpriteAttributes) {
    auto owner = std::static_pointer_cast<KXModelAsset>(KXModelAsset::create());
    auto* shape = new KXAttributeShape("Test Collision Shape", owner.get());
    auto* animation = new KXAttributeAnimation("Test Idle Animation", owner.get());
    auto* sprite = new KXAttributeSprite("Test Picture", owner.get());
    auto* sound = new KXAttributeSound("Test Sound", owner.get());
    shape->setValue(std::static_pointer_cast<KXModelPolygon>(KXModelPolygon::create()));
    animation->setValue(std::static_pointer_cast<KXModelAnimation>(KXModelAnimation::create()));
    sprite->setValue(std::static_pointer_cast<KXModelSpriteContainer>(KXModelSpriteContainer::create()));
    sound->setValue(std::static_pointer_cast<KXModelSound>(KXModelSound::create()));

    store().addModel(owner);
    EXPECT_TRUE(store().getModel(shape->value()->id()));
    EXPECT_TRUE(store().getModel(animation->value()->id()));
    EXPECT_TRUE(store().getModel(sprite->value()->id()));
    EXPECT_FALSE(store().getModel(sound->value()->id()));
}

TEST_F(ModelReferencesTest, ClassNamesOfTheReferenceFamily) {
    KXAttributeParticlesEmitters emitters("Emitters", nullptr);
    EXPECT_STREQ(emitters.className(), "KXAttributeParticlesEmitters");
    EXPECT_EQ(emitters.connectionKind(), KXAttributeConnectionNone);
    EXPECT_STREQ(KXAttributeObject("a", nullptr).className(), "KXAttributeObject");
    EXPECT_STREQ(KXAttributeObjectAsset("a", nullptr).className(), "KXAttributeObjectAsset");
    EXPECT_STREQ(KXAttributeShape("a", nullptr).className(), "KXAttributeShape");
    EXPECT_STREQ(KXAttributeSprite("a", nullptr).className(), "KXAttributeSprite");
    EXPECT_STREQ(KXAttributeAnimation("a", nullptr).className(), "KXAttributeAnimation");
}

} // namespace
