#include "model/classes/KXBaseModelGeneralSettings.h"

#include "model/KXDebugLog.h"
#include "model/KXMessagePackMap.h"
#include "model/KXModelController.h"
#include "model/references/KXAttributeSprite.h"

#include <cassert>
#include <stdexcept>

using namespace cocos2d;

namespace {

constexpr int kArrowLeft = 0x01000012;
constexpr int kArrowUp = 0x01000013;
constexpr int kArrowRight = 0x01000014;
constexpr int kArrowDown = 0x01000015;

// An attribute this class made; an absent name is a misspelling (see boundAttribute).
template <class A> A* findAttribute(const KXModel& model, const char* name) {
    KXBaseAttribute* found = model.attribute(name);
    assert(found != nullptr && "the general settings bind an attribute they do not have");
    return dynamic_cast<A*>(found);
}

// Name of a stored key id, or null (with one log line) when the key table lacks it: one unknown
// key must not make the whole settings file unreadable.
const std::string* keyName(KXMessagePackMap::KeyId id) {
    try {
        return &KXMessagePackMap::keyNameForId(id);
    } catch (const std::out_of_range&) {
        debugLog("[KXModelGeneralSettings] platform values: unknown key id %d skipped", id);
        return nullptr;
    }
}

CCDictionary* unpackPlatformTable(const msgpack::object& object) {
    const KXMessagePackMap stored = KXMessagePackMap::fromObject(object);
    CCDictionary* table = CCDictionary::create();
    for (KXMessagePackMap::KeyId id : stored.keyIds()) {
        std::string text;
        stored.getById(id, text);
        if (const std::string* name = keyName(id)) {
            table->setObject(CCString::create(text), *name);
        }
    }
    return table;
}

// The dictionary entry `name` when it holds a non-empty "value" text.
const CCString* dictionaryValue(CCDictionary* dictionary, const char* name) {
    CCDictionary* entry = dynamic_cast<CCDictionary*>(dictionary->objectForKey(name));
    if (entry == nullptr) {
        return nullptr;
    }
    const CCString* text = entry->valueForKey("value");
    return text->length() > 0 ? text : nullptr;
}

// The start values under their dictionary names.
const KXGameplayValueField kGameplayFields[] = {
    {"Gravity", &KXGameplayValues::gravity},
    {"Move Speed", &KXGameplayValues::moveSpeed},
    {"Bounce Force", &KXGameplayValues::bounceForce},
    {"Jump", &KXGameplayValues::upForce},
    {"Character Friction", &KXGameplayValues::characterFriction},
    {"Jump Timeout", &KXGameplayValues::upForceDuration},
    {"Jump Counter", &KXGameplayValues::upForceCounter},
    {"Jump Ground Threshold", &KXGameplayValues::groundThreshold},
    {"Left Lean Force", &KXGameplayValues::leftLeanForce},
    {"Right Lean Force", &KXGameplayValues::rightLeanForce},
    {"Simulation Time Scale", &KXGameplayValues::simulationTimeScale},
    {"Friction", &KXGameplayValues::friction},
    {"Velocity Scale", &KXGameplayValues::velocityScale},
    {"Rotation Scale", &KXGameplayValues::rotationScale},
    {"Restitution", &KXGameplayValues::restitution},
    {"Platform Friction", &KXGameplayValues::platformFriction},
    {"Score Multiplier", &KXGameplayValues::scoreMultiplier},
    {"Back Deletion Threshold", &KXGameplayValues::backDeletionThreshold},
    {"Sides Deletion Threshold", &KXGameplayValues::sidesDeletionThreshold},
    {"Game Speed Min", &KXGameplayValues::gameSpeedMin},
    {"Game Speed Max", &KXGameplayValues::gameSpeedMax},
    {"Game Speed Increase", &KXGameplayValues::gameSpeedIncrease},
    {"Game Speed Current", &KXGameplayValues::gameSpeed},
    {"Jump From Ground", &KXGameplayValues::upForceFromGround},
    {"Fixed Rotation", &KXGameplayValues::fixedRotation},
    {"Fixed Position", &KXGameplayValues::directMovement},
    {"Forced Movement", &KXGameplayValues::forcedMovement},
    {"Auto Image Direction", &KXGameplayValues::imageDirection},
};

void loadGameplayValue(CCDictionary* dictionary, const KXGameplayValueField& field,
                       KXGameplayValues& values) {
    const CCString* text = dictionaryValue(dictionary, field.key);
    if (text == nullptr) {
        return;
    }
    if (field.point != nullptr) {
        values.*field.point = text->pointValue();
    } else if (field.number != nullptr) {
        values.*field.number = text->floatValue();
    } else {
        values.*field.flag = text->boolValue();
    }
}

} // namespace

KXGameplayValues KXBaseModelGeneralSettings::startGameplayValues() {
    KXGameplayValues start;
    start.gravity = CCPoint(0.0f, -50.0f);
    start.upForce = CCPoint(0.0f, 5.0f);
    start.characterFriction = CCPoint(0.8f, 1.0f);
    start.upForceDuration = 0.25f;
    start.groundThreshold = 0.01f;
    start.simulationTimeScale = 1.0f;
    start.velocityScale = 1.0f;
    start.rotationScale = 1.0f;
    start.platformFriction = 1.0f;
    start.backDeletionThreshold = 300.0f;
    start.sidesDeletionThreshold = 550.0f;
    start.gameSpeedMin = 3.0f;
    start.gameSpeedMax = 10.0f;
    start.gameSpeedIncrease = 0.1f;
    start.gameSpeed = 3.0f;
    start.forcedMovement = true;
    return start;
}

KXBaseModelGeneralSettings::KXBaseModelGeneralSettings(const std::string& name) : KXModel(name) {
    new KXAttributeString("ZD Version", this);
    new KXAttributeUInt("Last ID", this);
    new KXAttributeOrientation("Orientation", this);
    for (int edge = 0; edge < 4; ++edge) {
        new KXAttributeFrameEdgeState("Edge " + std::to_string(edge), this);
    }
    new KXAttributeScreenAdjustment("Screen Adjustment", this);
    new KXAttributeFloat("Game Angle Direction", this);
    new KXAttributeBool("Use Encryption", this);
    new KXAttributeRect("Object Frame", this);
    new KXAttributeSize("Design Size", this);
    new KXAttributeString("Score Type", this);
    new KXAttributeString("Share Screen", this);
    new KXAttributeString("Version Number", this);
    new KXAttributeString("Application Name", this);
    new KXAttributeString("Comments", this);
    new KXAttributeString("Reset text", this);
    new KXAttributeString("Not Enough Currency Text", this);
    new KXAttributeString("Build Date", this);
    new KXAttributeString("User ID", this);
    new KXAttributeSprite("Icon", this);
    for (const char* key :
         {"Move Up Key", "Move Down Key", "Move Left Key", "Move Right Key", "Motor CW Key", "Motor CCW Key",
          "Rotate Left Key", "Rotate Right Key", "Shoot Key", "Jump Key"}) {
        new KXAttributeKey(key, this);
    }
    bindAttributes();
    applyConstructionDefaults();
    m_platformValues = new CCDictionary();
}

KXBaseModelGeneralSettings::KXBaseModelGeneralSettings(const KXBaseModelGeneralSettings& source)
    : KXModel(source), m_gameplay(source.m_gameplay) {
    bindAttributes();
    m_platformValues = source.m_platformValues ? CCDictionary::createWithDictionary(source.m_platformValues)
                                               : new CCDictionary();
    if (source.m_platformValues) {
        m_platformValues->retain();
    }
}

KXBaseModelGeneralSettings::~KXBaseModelGeneralSettings() {
    if (m_platformValues) {
        m_platformValues->release();
    }
}

void KXBaseModelGeneralSettings::bindAttributes() {
    m_zdVersion = findAttribute<KXAttributeString>(*this, "ZD Version");
    m_lastId = findAttribute<KXAttributeUInt>(*this, "Last ID");
    m_orientation = findAttribute<KXAttributeOrientation>(*this, "Orientation");
    for (int edge = 0; edge < 4; ++edge) {
        m_edges[edge] =
            findAttribute<KXAttributeFrameEdgeState>(*this, ("Edge " + std::to_string(edge)).c_str());
    }
    m_screenAdjustment = findAttribute<KXAttributeScreenAdjustment>(*this, "Screen Adjustment");
    m_gameAngleDirection = findAttribute<KXAttributeFloat>(*this, "Game Angle Direction");
    m_useEncryption = findAttribute<KXAttributeBool>(*this, "Use Encryption");
    m_objectFrame = findAttribute<KXAttributeRect>(*this, "Object Frame");
    m_designSize = findAttribute<KXAttributeSize>(*this, "Design Size");
    m_scoreType = findAttribute<KXAttributeString>(*this, "Score Type");
    m_shareScreen = findAttribute<KXAttributeString>(*this, "Share Screen");
    m_versionNumber = findAttribute<KXAttributeString>(*this, "Version Number");
    m_applicationName = findAttribute<KXAttributeString>(*this, "Application Name");
    m_comments = findAttribute<KXAttributeString>(*this, "Comments");
    m_resetText = findAttribute<KXAttributeString>(*this, "Reset text");
    m_notEnoughCurrencyText = findAttribute<KXAttributeString>(*this, "Not Enough Currency Text");
    m_buildDate = findAttribute<KXAttributeString>(*this, "Build Date");
    m_userId = findAttribute<KXAttributeString>(*this, "User ID");
    m_icon = findAttribute<KXAttributeSprite>(*this, "Icon");
    m_moveUpKey = findAttribute<KXAttributeKey>(*this, "Move Up Key");
    m_moveDownKey = findAttribute<KXAttributeKey>(*this, "Move Down Key");
    m_moveLeftKey = findAttribute<KXAttributeKey>(*this, "Move Left Key");
    m_moveRightKey = findAttribute<KXAttributeKey>(*this, "Move Right Key");
    m_motorCWKey = findAttribute<KXAttributeKey>(*this, "Motor CW Key");
    m_motorCCWKey = findAttribute<KXAttributeKey>(*this, "Motor CCW Key");
    m_rotateLeftKey = findAttribute<KXAttributeKey>(*this, "Rotate Left Key");
    m_rotateRightKey = findAttribute<KXAttributeKey>(*this, "Rotate Right Key");
    m_shootKey = findAttribute<KXAttributeKey>(*this, "Shoot Key");
    m_jumpKey = findAttribute<KXAttributeKey>(*this, "Jump Key");
}

void KXBaseModelGeneralSettings::applyConstructionDefaults() {
    m_shareScreen->setValue("Game Field Screen", true);
    m_versionNumber->setValue("1.0", true);
    m_applicationName->setValue("Untitled", true);
    m_comments->setValue("add comments here", true);
    m_resetText->setValue("PLEASE NOTE:  You are about to reset all your game progress and start completely "
                          "over.  Are you sure you want to do that?",
                          true);
    m_notEnoughCurrencyText->setValue("Sorry, you don't have enough currency!", true);
    // A sprite set here later is kept out of texture atlases too.
    m_icon->setExcludedFromAtlas(true);
    m_moveUpKey->setValue(kArrowUp, true);
    m_moveDownKey->setValue(kArrowDown, true);
    m_moveLeftKey->setValue(kArrowLeft, true);
    m_moveRightKey->setValue(kArrowRight, true);
    m_motorCWKey->setValue('X', true);
    m_motorCCWKey->setValue('Z', true);
    m_rotateLeftKey->setValue(',', true);
    m_rotateRightKey->setValue('.', true);
    m_shootKey->setValue(' ', true);
    m_jumpKey->setValue('J', true);
    m_useEncryption->setValue(false, true);
}

void KXBaseModelGeneralSettings::registerKeys() const {
    KXModel::registerKeys();
    KXMessagePackMap::registerKeyName(kPlatformValuesKey);
    CCDictElement* platform = nullptr;
    CCDICT_FOREACH(m_platformValues, platform) {
        CCDictElement* entry = nullptr;
        CCDICT_FOREACH(dynamic_cast<CCDictionary*>(platform->getObject()), entry) {
            KXMessagePackMap::registerKeyName(entry->getKey());
        }
        KXMessagePackMap::registerKeyName(platform->getKey());
    }
}

void KXBaseModelGeneralSettings::packValues(KXMessagePackMap& map) const {
    KXModel::packValues(map);
    KXMessagePackMap platforms(map.zone());
    CCDictElement* platform = nullptr;
    CCDICT_FOREACH(m_platformValues, platform) {
        KXMessagePackMap table(map.zone());
        CCDictElement* entry = nullptr;
        CCDICT_FOREACH(dynamic_cast<CCDictionary*>(platform->getObject()), entry) {
            const CCString* text = dynamic_cast<const CCString*>(entry->getObject());
            table.set(entry->getKey(), std::string(text ? text->getCString() : ""));
        }
        platforms.set(platform->getKey(), table);
    }
    map.set(kPlatformValuesKey, platforms);
}

void KXBaseModelGeneralSettings::unpackValues(const KXMessagePackMap& map) {
    KXModel::unpackValues(map);
    KXMessagePackMap platforms;
    if (map.get(kPlatformValuesKey, platforms) && !platforms.empty()) {
        // Built aside first, so that a type error leaves the old values whole.
        CCDictionary* values = CCDictionary::create();
        for (KXMessagePackMap::KeyId id : platforms.keyIds()) {
            CCDictionary* table = unpackPlatformTable(*platforms.find(id));
            if (const std::string* name = keyName(id)) {
                values->setObject(table, *name);
            }
        }
        m_platformValues->removeAllObjects();
        CCDictElement* platform = nullptr;
        CCDICT_FOREACH(values, platform) {
            m_platformValues->setObject(platform->getObject(), platform->getKey());
        }
    }
    KXModelController::shared()->setIdCounter(m_lastId->value());
}

void KXBaseModelGeneralSettings::replacePlatformValues(CCDictionary* values) {
    values->retain();
    if (m_platformValues) {
        m_platformValues->release();
    }
    m_platformValues = values;
}

void KXBaseModelGeneralSettings::loadValuesFromDictionary(CCDictionary* dictionary) {
    KXModel::loadValuesFromDictionary(dictionary);
    if (dictionary == nullptr) {
        return;
    }
    if (CCDictionary* values = dynamic_cast<CCDictionary*>(dictionary->objectForKey(kPlatformValuesKey))) {
        replacePlatformValues(values);
    }
    for (const KXGameplayValueField& field : kGameplayFields) {
        loadGameplayValue(dictionary, field, m_gameplay);
    }
    KXModelController::shared()->setIdCounter(m_lastId->value());
}

CCDictionary* KXBaseModelGeneralSettings::saveValuesToDictionary() const {
    CCDictionary* dictionary = KXModel::saveValuesToDictionary();
    if (dictionary == nullptr) {
        dictionary = CCDictionary::create();
    }
    if (m_platformValues) {
        dictionary->setObject(m_platformValues, kPlatformValuesKey);
    }
    return dictionary;
}
