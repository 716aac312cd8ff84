// Placed-object models of the effects and controls: own collision boxes and how clones treat
// them, the mirror's scale bounds, the colour value form, the particle emitter list, the path's
// point list in both stored forms, the lock button's inserted attributes and the logic blanks.

#include "model/KXMessagePackMap.h"
#include "model/KXModelController.h"
#include "model/attributes/KXAttributeColor.h"
#include "model/classes/KXModelComponentMotor.h"
#include "model/classes/KXModelComponentMove.h"
#include "model/classes/KXModelObjectAssetCharacter.h"
#include "model/classes/KXModelObjectAssetUnit.h"
#include "model/classes/KXModelObjectButtonFacebook.h"
#include "model/classes/KXModelObjectButtonPurchase.h"
#include "model/classes/KXModelObjectButtonSoundControl.h"
#include "model/classes/KXModelObjectButtonSwitch.h"
#include "model/classes/KXModelObjectCharacterSelector.h"
#include "model/classes/KXModelObjectFlag.h"
#include "model/classes/KXModelObjectGatekeeper.h"
#include "model/classes/KXModelObjectGroup.h"
#include "model/classes/KXModelObjectInstance.h"
#include "model/classes/KXModelObjectLight.h"
#include "model/classes/KXModelObjectLockButton.h"
#include "model/classes/KXModelObjectLogic.h"
#include "model/classes/KXModelObjectMirror.h"
#include "model/classes/KXModelObjectParticles.h"
#include "model/classes/KXModelObjectParticlesEmitter.h"
#include "model/classes/KXModelObjectPath.h"
#include "model/classes/KXModelObjectScreenJump.h"
#include "model/classes/KXModelObjectSwipeControl.h"
#include "model/classes/KXModelObjectTeleport.h"
#include "model/classes/KXModelObjectTrail.h"
#include "model/classes/KXModelPolygon.h"
#include "support/attribute_test_support.h"
#include "support/model_test_models.h"

#include "cocos2d.h"
#include "support/model_class_helpers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

using cocos2d::CCPoint;

namespace {

class MoreObjects : public ::testing::Test {
protected:
    void SetUp() override { resetModelCore(); }
    void TearDown() override { resetModelCore(); }
};

void installKeysOf(const KXModel& model) {
    KXMessagePackMap::setCollectingKeys(true);
    model.registerKeys();
    KXMessagePackMap::setCollectingKeys(false);
    KXMessagePackMap::KeyTable table;
    int next = 1;
    for (const std::string& name : KXMessagePackMap::registeredKeyNames()) {
        table[name] = next++;
    }
    KXMessagePackMap::installKeyTable(table);
}

int indexOf(const KXModel& model, const char* name) {
    return model.attributeIndex(model.attribute(name));
}

// A box around the origin with corners at +-half, in the box operation's order.
void expectBox(const std::shared_ptr<KXModelPolygon>& shape, float half) {
    ASSERT_TRUE(shape);
    const std::vector<CCPoint> corners{{-half, -half}, {half, -half}, {half, half}, {-half, half}};
    ASSERT_EQ(shape->points().size(), corners.size());
    for (size_t i = 0; i < corners.size(); ++i) {
        EXPECT_TRUE(shape->points()[i].equals(corners[i])) << i;
    }
}

TEST_F(MoreObjects, OwnBoxesHaveTheirSizesAndOnlyThePortalSharesItsWithClones) {
    auto portal = make<KXModelObjectTeleport>();
    expectBox(portal->collisionShape(), 30);
    EXPECT_FLOAT_EQ(portal->searchRadius(), 600.0f);
    EXPECT_TRUE(portal->deleteInputObject());
    EXPECT_TRUE(portal->singleUse());
    EXPECT_FALSE(portal->exitOnly());
    auto portalCopy = std::static_pointer_cast<KXModelObjectTeleport>(portal->clone(false, false));
    EXPECT_EQ(portalCopy->collisionShape(), portal->collisionShape());

    auto jump = make<KXModelObjectScreenJump>();
    auto jumpCopy = std::static_pointer_cast<KXModelObjectScreenJump>(jump->clone(false, false));
    EXPECT_NE(jumpCopy->collisionShape(), jump->collisionShape());
    expectBox(jumpCopy->collisionShape(), 30);
    EXPECT_FALSE(jump->pauseCurrentWorld());

    auto flag = make<KXModelObjectFlag>();
    expectBox(flag->collisionShape(), 5);
    EXPECT_FLOAT_EQ(flag->length(), 200.0f);
    auto gatekeeper = make<KXModelObjectGatekeeper>();
    expectBox(gatekeeper->collisionShape(), 30);
    EXPECT_FLOAT_EQ(gatekeeper->passedAmount(), 1.0f);
    EXPECT_FLOAT_EQ(gatekeeper->contentSize(0).width, 60.0f);

    auto trail = make<KXModelObjectTrail>();
    auto trailCopy = std::static_pointer_cast<KXModelObjectTrail>(trail->clone(false, false));
    EXPECT_NE(trailCopy->collisionShape(), trail->collisionShape());
    expectBox(trailCopy->collisionShape(), 5);
    EXPECT_FLOAT_EQ(trail->startWidth(), 15.0f);
    EXPECT_FLOAT_EQ(trail->waveHeight(), 0.0f);
    EXPECT_TRUE(dynamic_cast<KXAttributeSprite*>(trail->attribute("Texture"))->isExcludedFromAtlas());

    auto light = make<KXModelObjectLight>();
    expectBox(light->collisionShape(), 5);
    EXPECT_FLOAT_EQ(light->radius(), 25.0f);
    EXPECT_FLOAT_EQ(light->color().r, 255.0f);
    EXPECT_FLOAT_EQ(light->color().a, 255.0f);

    auto swipe = make<KXModelObjectSwipeControl>();
    EXPECT_FALSE(swipe->isKindOf(KXModelObjectAsset::staticType()));
    EXPECT_TRUE(swipe->isKindOf(KXModelObject::staticType()));
}

TEST_F(MoreObjects, MirrorKeepsItsScaleWithinBounds) {
    auto mirror = make<KXModelObjectMirror>();
    expectBox(mirror->collisionShape(), 5);
    EXPECT_FLOAT_EQ(mirror->contentSize(0).height, 60.0f);
    EXPECT_FLOAT_EQ(mirror->color().g, 255.0f);

    KXAttributePoint* scale = mirror->scaleAttribute();
    ASSERT_NE(scale, nullptr);
    scale->setValue(CCPoint(50, -1));
    EXPECT_TRUE(scale->value().equals(CCPoint(40.96f, 0)));
    scale->setValue(CCPoint(1, 2));
    EXPECT_TRUE(scale->value().equals(CCPoint(1, 2)));
    // A NaN would never compare equal and re-enter the hook for ever.
    scale->setValue(CCPoint(std::numeric_limits<float>::quiet_NaN(), 3));
    EXPECT_TRUE(scale->value().equals(CCPoint(0, 3)));
}

TEST_F(MoreObjects, ColourValueIsFourNumbersAndNothingElse) {
    installAttributeKeyTable();
    KXAttributeColor color("Color", nullptr);
    {
        MapWriter writer(1);
        writer.key("value").pack_array(4);
        writer.packer().pack(1);
        writer.packer().pack(0.5);
        writer.packer().pack(0);
        writer.packer().pack(255);
        ReadMap read(writer.bytes());
        color.unpackValues(read.map());
    }
    EXPECT_FLOAT_EQ(color.value().r, 1.0f);
    EXPECT_FLOAT_EQ(color.value().g, 0.5f);
    EXPECT_FLOAT_EQ(color.value().b, 0.0f);
    EXPECT_FLOAT_EQ(color.value().a, 255.0f);
    {
        MapWriter writer(1);
        writer.key("value").pack_array(3);
        writer.packer().pack(1);
        writer.packer().pack(2);
        writer.packer().pack(3);
        ReadMap read(writer.bytes());
        EXPECT_THROW(color.unpackValues(read.map()), msgpack::type_error);
    }
    {
        MapWriter writer(0);
        ReadMap read(writer.bytes());
        color.unpackValues(read.map());
        EXPECT_FLOAT_EQ(color.value().a, 255.0f);
    }
    ReadMap packed(packValuesToBytes(color));
    const msgpack::object* value = packed["value"];
    ASSERT_NE(value, nullptr);
    ASSERT_EQ(value->type, msgpack::type::ARRAY);
    ASSERT_EQ(value->via.array.size, 4u);
    for (uint32_t i = 0; i < 4; ++i) {
        EXPECT_EQ(value->via.array.ptr[i].type, msgpack::type::FLOAT32) << i;
    }
}

TEST_F(MoreObjects, ParticlesListOnlyTheirEmitterChildrenInOrder) {
    auto particles = make<KXModelObjectParticles>();
    auto first = make<KXModelObjectParticlesEmitter>();
    auto second = make<KXModelObjectParticlesEmitter>();
    particles->addChild(first);
    particles->addChild(make<KXModelObject>());
    particles->addChild(second);
    ASSERT_EQ(particles->emitters().size(), 2u);
    EXPECT_EQ(particles->emitters()[0], first);
    particles->removeChild(first);
    ASSERT_EQ(particles->emitters().size(), 1u);
    EXPECT_EQ(particles->emitters()[0], second);

    auto copy = std::static_pointer_cast<KXModelObjectParticles>(particles->clone(true, false));
    ASSERT_EQ(copy->emitters().size(), 1u);
    EXPECT_NE(copy->emitters()[0], second);
    EXPECT_NE(copy->collisionShape(), particles->collisionShape());
    expectBox(copy->collisionShape(), 5);

    particles->removeAllChildren();
    EXPECT_TRUE(particles->emitters().empty());
}

TEST_F(MoreObjects, NewEmitterHasTheEngineDefaults) {
    auto emitter = make<KXModelObjectParticlesEmitter>();
    EXPECT_EQ(emitter->totalParticles(), 150u);
    EXPECT_FLOAT_EQ(emitter->emissionRate(), 50.0f);
    EXPECT_FLOAT_EQ(emitter->speed(), 60.0f);
    EXPECT_FLOAT_EQ(emitter->speedVariance(), 20.0f);
    EXPECT_FLOAT_EQ(emitter->angleVariance(), 10.0f);
    EXPECT_FLOAT_EQ(emitter->lifeVariance(), 0.25f);
    EXPECT_FLOAT_EQ(emitter->endSize(), 50.0f);
    EXPECT_FLOAT_EQ(emitter->color(0).r, 1.0f);
    EXPECT_FLOAT_EQ(emitter->color(1).r, 0.0f);
    EXPECT_FLOAT_EQ(emitter->color(0.5f).a, 1.0f);
    EXPECT_FLOAT_EQ(emitter->colorVariation(0).a, 0.0f);
    EXPECT_EQ(emitter->positionType(), 0);
    EXPECT_EQ(emitter->attribute("Speed")->flags(), 1u);
    EXPECT_EQ(emitter->attribute("Gravity")->flags(), 0u);

    dynamic_cast<KXAttributeFloat*>(emitter->attribute("Total Particles"))->setValue(99.9f, true);
    EXPECT_EQ(emitter->totalParticles(), 99u);
    dynamic_cast<KXAttributeFloat*>(emitter->attribute("Total Particles"))->setValue(-5.0f, true);
    EXPECT_EQ(emitter->totalParticles(), 0u);
    dynamic_cast<KXAttributeStringList*>(emitter->attribute("Position Type"))
        ->setValue("kCCPositionTypeGrouped");
    EXPECT_EQ(emitter->positionType(), 2);
}

TEST_F(MoreObjects, PathPointsRoundTripAsFloatPairs) {
    auto path = make<KXModelObjectPath>();
    path->setPoints({{0, 0}, {100, 0}, {100, 50}});
    installKeysOf(*path);
    const std::string bytes = packValuesToBytes(*path);
    ReadMap read(bytes);
    const msgpack::object* points = read["points"];
    ASSERT_NE(points, nullptr);
    ASSERT_EQ(points->via.array.size, 3u);
    EXPECT_EQ(points->via.array.ptr[2].via.array.ptr[1].type, msgpack::type::FLOAT32);

    auto loaded = make<KXModelObjectPath>();
    loaded->unpackValues(read.map());
    ASSERT_EQ(loaded->points().size(), 3u);
    EXPECT_TRUE(loaded->points()[2].equals(CCPoint(100, 50)));

    // No entry keeps the list; an empty entry empties it.
    MapWriter none(0);
    loaded->unpackValues(ReadMap(none.bytes()).map());
    EXPECT_EQ(loaded->points().size(), 3u);
    MapWriter empty(1);
    empty.key("points").pack_array(0);
    loaded->unpackValues(ReadMap(empty.bytes()).map());
    EXPECT_TRUE(loaded->points().empty());

    MapWriter malformed(1);
    malformed.key("points").pack_array(1);
    malformed.packer().pack_array(3);
    malformed.packer().pack(1);
    malformed.packer().pack(2);
    malformed.packer().pack(3);
    EXPECT_THROW(path->unpackValues(ReadMap(malformed.bytes()).map()), msgpack::type_error);
    EXPECT_EQ(path->points().size(), 3u);

    cocos2d::CCDictionary* saved = path->saveValuesToDictionary();
    auto* texts = dynamic_cast<cocos2d::CCArray*>(saved->objectForKey("points"));
    ASSERT_NE(texts, nullptr);
    EXPECT_STREQ(static_cast<cocos2d::CCString*>(texts->objectAtIndex(2))->getCString(), "{100.000,50.000}");
    auto fromDictionary = make<KXModelObjectPath>();
    fromDictionary->loadValuesFromDictionary(saved);
    fromDictionary->loadValuesFromDictionary(saved);
    EXPECT_EQ(fromDictionary->points().size(), 6u);
}

TEST_F(MoreObjects, PathDefaultsAndAttractionRange) {
    auto path = make<KXModelObjectPath>();
    EXPECT_FLOAT_EQ(path->searchRadius(), 50.0f);
    EXPECT_FLOAT_EQ(path->attractionForce(), 50.0f);
    EXPECT_TRUE(path->keepVelocity());
    auto* force = dynamic_cast<KXAttributeFloat*>(path->attribute("Attraction Force"));
    force->setValue(150.0f);
    EXPECT_FLOAT_EQ(path->attractionForce(), 100.0f);
    force->setValue(-5.0f);
    EXPECT_FLOAT_EQ(path->attractionForce(), 0.0f);
    auto copy = std::static_pointer_cast<KXModelObjectPath>(path->clone(false, false));
    path->setPoints({{1, 1}});
    EXPECT_TRUE(copy->points().empty());
}

TEST_F(MoreObjects, LockButtonPlacesItsAttributesAfterTheirNeighbours) {
    auto button = make<KXModelObjectLockButton>();
    ASSERT_NE(button->attribute("Image Selected"), nullptr);
    ASSERT_NE(button->attribute("Action"), nullptr);
    EXPECT_EQ(indexOf(*button, "Locked Image"), indexOf(*button, "Image Selected") + 1);
    EXPECT_EQ(indexOf(*button, "Locked Image Selected"), indexOf(*button, "Image Selected") + 2);
    const int action = indexOf(*button, "Action");
    int offset = 1;
    for (const char* name : {"Unlock", "Price", "Store Identifier", "Destination", "World", "Scene",
                             "Auto Follow", "Auto Lock"}) {
        EXPECT_EQ(indexOf(*button, name), action + offset++) << name;
    }
    const std::vector<std::pair<std::string, int>> scenes{{"3", 3}, {"12x", 12}, {"abc", 0}, {"", 0}};
    for (const auto& entry : scenes) {
        dynamic_cast<KXAttributeStringList*>(button->attribute("Scene"))->setValue(entry.first, true);
        EXPECT_EQ(button->sceneValue(), entry.second) << entry.first;
    }
    EXPECT_TRUE(button->isKindOf(KXModelObjectButton::staticType()));
}

// Texts that name a model by its id read every id a model can have. Those of "Affected asset" and
// "Object Asset" keep their sign (the player reads kinds of objects below 0).
TEST_F(MoreObjects, IdsInTextReadPastTheIntRange) {
    auto lock = make<KXModelObjectLockButton>();
    auto selector = make<KXModelObjectCharacterSelector>();
    auto purchase = make<KXModelObjectButtonPurchase>();
    auto logic = make<KXModelObjectLogic>();
    auto path = make<KXModelObjectPath>();
    auto motor = make<KXModelComponentMotor>();
    auto move = make<KXModelComponentMove>();
    const auto setAll = [&](const std::string& text) {
        attributeOf<KXAttributeStringList>(*lock, "Scene")->setValue(text, true);
        attributeOf<KXAttributeStringList>(*selector, "Label Name")->setValue(text, true);
        purchase->powerupSelectionAttribute()->setValue(text, true);
        attributeOf<KXAttributeStringList>(*logic, "Affected asset")->setValue(text, true);
        attributeOf<KXAttributeStringList>(*path, "Object Asset")->setValue(text, true);
        attributeOf<KXAttributeStringList>(*motor, "Affected asset")->setValue(text, true);
        attributeOf<KXAttributeStringList>(*move, "Affected asset")->setValue(text, true);
    };
    const struct {
        const char* text;
        uint32_t id;
        int64_t number;
    } cases[] = {{"2147483653", 2147483653u, 2147483653},
                 {"4294967295 x", 4294967295u, 4294967295},
                 {"-2", 4294967294u, -2},
                 {"4294967296", 0, 4294967296},
                 {"none", 0, 0}};
    for (const auto& entry : cases) {
        setAll(entry.text);
        EXPECT_EQ(lock->sceneValue(), entry.id) << entry.text;
        EXPECT_EQ(selector->labelNameValue(), entry.id) << entry.text;
        EXPECT_EQ(purchase->powerupSelectionId(), entry.id) << entry.text;
        EXPECT_EQ(logic->affectedAssetValue(), entry.number) << entry.text;
        EXPECT_EQ(path->objectAssetValue(), entry.number) << entry.text;
        EXPECT_EQ(motor->affectedAssetValue(), entry.number) << entry.text;
        EXPECT_EQ(move->affectedAssetValue(), entry.number) << entry.text;
        EXPECT_EQ(logic->affectedAssetId(), entry.id) << entry.text;
        EXPECT_EQ(motor->affectedAssetId(), entry.id) << entry.text;
        EXPECT_EQ(move->affectedAssetId(), entry.id) << entry.text;
    }
}

TEST_F(MoreObjects, LogicModifiersStartBlank) {
    auto logic = make<KXModelObjectLogic>();
    EXPECT_FALSE(logic->hasPositionModifierX());
    EXPECT_FALSE(logic->hasPositionModifierY());
    EXPECT_FALSE(logic->hasRotationModifier());
    EXPECT_FALSE(logic->hasScaleModifierX());
    EXPECT_FALSE(logic->hasScaleModifierY());
    EXPECT_FALSE(logic->hasLinearVelocityModifierX());
    EXPECT_FALSE(logic->hasLinearVelocityModifierY());
    EXPECT_FALSE(logic->hasLinearVelocityModifier());
    EXPECT_FALSE(logic->hasAngularVelocityModifier());

    // Filled on x only: the stored record carries isXEmpty false, isYEmpty true.
    auto* position = dynamic_cast<KXAttributePoint*>(logic->attribute("Position Modifier"));
    installAttributeKeyTable();
    MapWriter writer(2);
    writer.key("isXEmpty").pack(false);
    writer.key("isYEmpty").pack(true);
    position->unpackValues(ReadMap(writer.bytes()).map());
    EXPECT_TRUE(logic->hasPositionModifierX());
    EXPECT_FALSE(logic->hasPositionModifierY());

    auto copy = std::static_pointer_cast<KXModelObjectLogic>(logic->clone(false, false));
    EXPECT_NE(copy->collisionShape(), logic->collisionShape());
    expectBox(copy->collisionShape(), 30);
}

TEST_F(MoreObjects, GroupCountsDirectCharacterChildren) {
    auto group = make<KXModelObjectGroup>();
    auto runner = make<KXModelObjectAssetCharacter>();
    auto inner = make<KXModelObjectGroup>();
    inner->addChild(make<KXModelObjectAssetCharacter>());
    group->addChild(runner);
    group->addChild(make<KXModelObjectAssetCharacter>());
    group->addChild(make<KXModelObjectAssetUnit>());
    group->addChild(inner);
    EXPECT_EQ(group->characterCount(), 2u);
    group->removeChild(runner);
    EXPECT_EQ(group->characterCount(), 1u);
    group->removeAllChildren();
    EXPECT_EQ(group->characterCount(), 0u);
}

TEST_F(MoreObjects, InstanceAsksItsReference) {
    auto instance = make<KXModelObjectInstance>();
    EXPECT_FALSE(instance->isSpawner());
    EXPECT_FLOAT_EQ(instance->spawnRate(), 0.0f);

    auto unit = make<KXModelObjectAssetUnit>();
    unit->setSpawnerEnabled(true);
    instance->setReference(unit);
    EXPECT_TRUE(instance->isSpawner());
    EXPECT_FLOAT_EQ(instance->spawnRate(), 1.0f);
}

TEST_F(MoreObjects, ButtonKindsRenameOrPresetInheritedAttributes) {
    auto social = make<KXModelObjectButtonFacebook>();
    EXPECT_EQ(social->attribute("URL"), nullptr);
    auto* link = dynamic_cast<KXAttributeString*>(social->attribute("Facebook URL"));
    ASSERT_NE(link, nullptr);
    link->setValue("https://example.org/page", true);
    auto socialCopy = std::static_pointer_cast<KXModelObjectButtonFacebook>(social->clone(false, false));
    EXPECT_EQ(socialCopy->url(), "https://example.org/page");
    EXPECT_FALSE(social->isKindOf(KXModelObjectButtonUrl::staticType()));
    EXPECT_TRUE(social->isKindOf(KXModelObjectButton::staticType()));
    EXPECT_TRUE(make<KXModelObjectButtonUrl>()->isKindOf(KXModelObjectButtonUrl::staticType()));

    auto audio = make<KXModelObjectButtonSoundControl>();
    EXPECT_NE(audio->attribute("Sound is ON"), nullptr);
    EXPECT_NE(audio->attribute("Sound is OFF"), nullptr);
    EXPECT_EQ(audio->attribute("Image"), nullptr);
    EXPECT_EQ(audio->attribute("Image Selected"), nullptr);
    auto audioCopy = std::static_pointer_cast<KXModelObjectButtonSoundControl>(audio->clone(false, false));
    EXPECT_EQ(audioCopy->imageAttribute(), audioCopy->attribute("Sound is ON"));
    EXPECT_EQ(audioCopy->imageSelectedAttribute(), audioCopy->attribute("Sound is OFF"));
    EXPECT_NE(audioCopy->imageAttribute(), nullptr);

    EXPECT_EQ(make<KXModelObjectButtonSwitch>()->action(), "kInputControllerActionButton");
}

} // namespace
