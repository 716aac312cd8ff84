#include "tools/kxdata/sample_more.h"

#include <memory>
#include <string>

#include "cocos2d.h"
#include "model/attributes/KXAttributeColor.h"
#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributePoint.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelAssetCharacter.h"
#include "model/classes/KXModelAssetObstacle.h"
#include "model/classes/KXModelCasts.h"
#include "model/classes/KXModelComponentIsoJump.h"
#include "model/classes/KXModelComponentMove.h"
#include "model/classes/KXModelLevelSection.h"
#include "model/classes/KXModelObjectAssetUnit.h"
#include "model/classes/KXModelObjectInstance.h"
#include "model/classes/KXModelObjectParticles.h"
#include "model/classes/KXModelObjectPath.h"
#include "model/classes/KXModelPolygon.h"
#include "tools/kxdata/KXSampleGame.h"

using cocos2d::CCPoint;

namespace kxdata {

namespace {

template <class T> std::shared_ptr<T> firstOf(const SampleGame& game) {
    for (const std::shared_ptr<KXModel>& model : game.models) {
        if (std::shared_ptr<T> typed = modelCast<T>(model)) {
            return typed;
        }
    }
    return nullptr;
}

// Sets a stored value by attribute name; a missing attribute is left alone.
void setText(KXModel& model, const char* name, const std::string& text) {
    if (auto* attribute = dynamic_cast<KXAttributeString*>(model.attribute(name))) {
        attribute->setValue(text, true);
    }
}

void setFloat(KXModel& model, const char* name, float value) {
    if (auto* attribute = dynamic_cast<KXAttributeFloat*>(model.attribute(name))) {
        attribute->setValue(value, true);
    }
}

void setBool(KXModel& model, const char* name, bool value) {
    if (auto* attribute = dynamic_cast<KXAttributeBool*>(model.attribute(name))) {
        attribute->setValue(value, true);
    }
}

void setPoint(KXModel& model, const char* name, const CCPoint& value) {
    if (auto* attribute = dynamic_cast<KXAttributePoint*>(model.attribute(name))) {
        attribute->setValue(value, true);
    }
}

void addEffectsScreen(SampleGame& game) {
    std::shared_ptr<KXModel> node = game.make("KXNodeUI", "Effects Node");
    std::shared_ptr<KXModel> screen = game.make("KXModelScreen", "Effects Screen");
    node->addChild(screen, true);

    std::shared_ptr<KXModel> lock = game.make("KXModelObjectLockButton", "World 2");
    setText(*lock, "Unlock", "kInGameCurrency");
    setFloat(*lock, "Price", 250.0f);
    setText(*lock, "Destination", "kSceneDestination");
    setText(*lock, "Scene", "2");
    setBool(*lock, "Auto Lock", true);
    screen->addChild(lock, true);

    std::shared_ptr<KXModel> link = game.make("KXModelObjectButtonUrl", "Homepage");
    setText(*link, "URL", "https://example.org");
    screen->addChild(link, true);
    std::shared_ptr<KXModel> social = game.make("KXModelObjectButtonFacebook", "Social Page");
    setText(*social, "Facebook URL", "https://example.org/social");
    setText(*social, "Facebook ID", "1234");
    screen->addChild(social, true);
    screen->addChild(game.make("KXModelObjectButtonSwitch", "Lever"), true);
    screen->addChild(game.make("KXModelObjectButtonControl", "Jump Button"), true);

    std::shared_ptr<KXModel> selector = game.make("KXModelObjectCharacterSelector", "Characters");
    setFloat(*selector, "Spread", 180.0f);
    setText(*selector, "Label Name", "2");
    screen->addChild(selector, true);

    std::shared_ptr<KXModel> observer = game.make("KXModelObjectEventObserver", "Best Score Watch");
    setText(*observer, "Event Type", "kScoreBestPoints");
    setFloat(*observer, "Limit Number", 5000.0f);
    setBool(*observer, "Pause Current World", false);
    screen->addChild(observer, true);
}

// Moves and jumps start with an empty placeholder shape; the written game gives them boxes.
void boxEmptyComponentShapes(SampleGame& game) {
    for (const std::shared_ptr<KXModel>& model : game.models) {
        std::shared_ptr<KXModelPolygon> shape;
        if (auto move = modelCast<KXModelComponentMove>(model)) {
            shape = move->collisionShape();
        }
        if (shape && shape->isEmpty()) {
            shape->setBox(cocos2d::CCSize(40.0f, 40.0f), CCPoint(0.0f, 0.0f), true);
        }
    }
}

void addCharacterComponents(SampleGame& game) {
    std::shared_ptr<KXModelAssetCharacter> character = firstOf<KXModelAssetCharacter>(game);
    if (!character) {
        return;
    }
    std::shared_ptr<KXModel> settings =
        game.make("KXModelComponentCharacterGameplaySettings", "Runner Physics");
    setPoint(*settings, "Max Speed", CCPoint(30.0f, 0.0f));
    setBool(*settings, "Fixed Rotation", true);
    character->addChild(settings, true);
    character->addChild(game.make("KXModelComponentCharacterIcon", "Runner Icons"), true);
    std::shared_ptr<KXModel> jump = game.make("KXModelComponentIsoJump", "Double Jump");
    setFloat(*jump, "Jump Count", 2.0f);
    setBool(*jump, "Syncronize Animation", true);
    // The exporter writes the shape a jump references, as it does every polygon.
    if (auto ghost = std::dynamic_pointer_cast<KXModelComponentIsoJump>(jump)) {
        if (std::shared_ptr<KXModelPolygon> shape = ghost->collisionShape()) {
            shape->setBox(cocos2d::CCSize(40.0f, 60.0f), CCPoint(0.0f, 0.0f), true);
            game.models.push_back(shape);
        }
    }
    character->addChild(jump, true);
    std::shared_ptr<KXModel> motor = game.make("KXModelComponentMotor", "Wheel Motor");
    setText(*motor, "Affected asset", "3");
    character->addChild(motor, true);
    character->addChild(game.make("KXModelComponentSlide", "Slide"), true);
    character->addChild(game.make("KXModelComponentRotationMapper", "Lean Frames"), true);
}

std::shared_ptr<KXModel> addUnit(SampleGame& game, KXModel& section) {
    auto unit =
        std::static_pointer_cast<KXModelObjectAssetUnit>(game.make("KXModelObjectAssetUnit", "Cannon"));
    unit->setObjectType("kEnemyObjectType");
    setPoint(*unit, "Linear Velocity", CCPoint(-4.0f, 0.0f));
    if (std::shared_ptr<KXModelAssetObstacle> crate = firstOf<KXModelAssetObstacle>(game)) {
        unit->setAsset(crate, true);
    }
    std::shared_ptr<KXModel> spawner = game.make("KXModelComponentSpawner", "Spawner");
    setFloat(*spawner, "Spawn Rate", 2.5f);
    setText(*spawner, "Spawn Action", "kPermanentSpawning");
    unit->addChild(spawner, true);
    std::shared_ptr<KXModel> wakeup = game.make("KXModelComponentWakeup", "Wake Up");
    setText(*wakeup, "Wake Up", "kTimeBasedWakeup");
    setFloat(*wakeup, "Sleep Distance", 900.0f);
    unit->addChild(wakeup, true);
    section.addChild(unit, true);
    return unit;
}

void addEffectObjects(SampleGame& game) {
    std::shared_ptr<KXModelLevelSection> section = firstOf<KXModelLevelSection>(game);
    if (!section) {
        return;
    }
    std::shared_ptr<KXModel> unit = addUnit(game, *section);

    std::shared_ptr<KXModel> instance = game.make("KXModelObjectInstance", "Cannon Copy");
    if (auto placed = std::dynamic_pointer_cast<KXModelObjectInstance>(instance)) {
        placed->setReference(modelKindCast<KXModelObjectAsset>(unit), true);
    }
    section->addChild(instance, true);

    std::shared_ptr<KXModel> mirror = game.make("KXModelObjectMirror", "Pond");
    if (auto* color = dynamic_cast<KXAttributeColor*>(mirror->attribute("Color"))) {
        color->setValue(cocos2d::ccc4f(120.0f, 160.0f, 255.0f, 200.0f), true);
    }
    section->addChild(mirror, true);

    std::shared_ptr<KXModel> particles = game.make("KXModelObjectParticles", "Sparks");
    std::shared_ptr<KXModel> emitter = game.make("KXModelObjectParticlesEmitter", "Spark Emitter");
    setFloat(*emitter, "Total Particles", 80.0f);
    setText(*emitter, "Position Type", "kCCPositionTypeRelative");
    particles->addChild(emitter, true);
    particles->addChild(game.make("KXModelObjectParticlesEmitter", "Smoke Emitter"), true);
    section->addChild(particles, true);

    std::shared_ptr<KXModel> path = game.make("KXModelObjectPath", "Lift Path");
    if (auto route = std::dynamic_pointer_cast<KXModelObjectPath>(path)) {
        route->setPoints({{0.0f, 0.0f}, {100.0f, 0.0f}, {100.0f, 50.0f}});
    }
    setText(*path, "Play Mode", "kPlayModePingPong");
    section->addChild(path, true);

    std::shared_ptr<KXModel> jump = game.make("KXModelObjectScreenJump", "Checkpoint Jump");
    setText(*jump, "Function", "kStartCheckpointJump");
    section->addChild(jump, true);
    for (const char* name : {"Portal A", "Portal B"}) {
        std::shared_ptr<KXModel> portal = game.make("KXModelObjectTeleport", name);
        setFloat(*portal, "Group ID", 1.0f);
        section->addChild(portal, true);
    }
    section->addChild(game.make("KXModelObjectSwipeControl", "Swipe Area"), true);
    std::shared_ptr<KXModel> flag = game.make("KXModelObjectFlag", "Goal Flag");
    setFloat(*flag, "Wave Height", 40.0f);
    section->addChild(flag, true);
    std::shared_ptr<KXModel> gate = game.make("KXModelObjectGatekeeper", "Gate");
    setFloat(*gate, "Passed Amount", 3.0f);
    section->addChild(gate, true);
    std::shared_ptr<KXModel> trail = game.make("KXModelObjectTrail", "Runner Trail");
    setFloat(*trail, "Length", 180.0f);
    section->addChild(trail, true);
    std::shared_ptr<KXModel> light = game.make("KXModelObjectLight", "Lamp");
    setFloat(*light, "Radius", 90.0f);
    setBool(*light, "Cast Shadow", true);
    section->addChild(light, true);
    std::shared_ptr<KXModel> logic = game.make("KXModelObjectLogic", "Speed Up");
    if (auto* modifier = dynamic_cast<KXAttributePoint*>(logic->attribute("Linear Velocity Modifier"))) {
        modifier->setValue(CCPoint(2.0f, 0.0f), true);
        modifier->setEmpty(false, true);
    }
    setText(*logic, "Affect operation", "kMultiply");
    section->addChild(logic, true);

    std::shared_ptr<KXModel> group = game.make("KXModelObjectGroup", "Front Layer");
    setBool(*group, "Auto Depth Sorting", true);
    group->addChild(game.make("KXModelObjectAssetCharacter", "Second Runner"), true);
    section->addChild(group, true);
}

} // namespace

void addSampleMore(SampleGame& game) {
    addEffectsScreen(game);
    addCharacterComponents(game);
    addEffectObjects(game);
    boxEmptyComponentShapes(game);
}

} // namespace kxdata
