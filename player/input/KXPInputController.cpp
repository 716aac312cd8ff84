#include "player/input/KXPInputController.h"

#include "model/KXDebugLog.h"
#include "model/KXModel.h"
#include "model/KXModelController.h"
#include "model/classes/KXBaseModelLinker.h"
#include "model/classes/KXModelCasts.h"
#include "model/classes/KXModelComponentHealth.h"
#include "model/classes/KXModelLevelSection.h"
#include "model/classes/KXModelObjectAsset.h"
#include "model/classes/KXModelObjectAssetCharacter.h"
#include "player/input/KXPControlledCharacter.h"
#include "player/objects/KXObjectModelHolder.h"
#include "player/objects/KXPObject.h"
#include "player/objects/assets/KXPObjectAsset.h"
#include "player/objects/buttons/KXPObjectButton.h"
#include "player/physics/KXPPhysicsLimits.h"
#include "player/screens/KXPScreen.h"

#include <algorithm>

using namespace cocos2d;

namespace {

KXPInputController* g_sharedController = nullptr;

constexpr float kPointsPerMetre = 20.0f;

// The buttons' own release() is the button's release, so references go through CCObject.
void holdAll(const std::vector<KXPObjectButton*>& buttons, bool hold) {
    for (KXPObjectButton* button : buttons) {
        CCObject* object = button;
        if (hold) {
            object->retain();
        } else {
            object->release();
        }
    }
}

// Keeps the objects of characters alive while a walk calls into them: a character may be
// removed (and its object freed) by what it does.
class HeldCharacters {
public:
    explicit HeldCharacters(std::vector<KXPControlledCharacter*> characters)
        : m_characters(std::move(characters)) {
        for (KXPControlledCharacter* character : m_characters) {
            character->characterObject()->retain();
        }
    }
    ~HeldCharacters() {
        for (KXPControlledCharacter* character : m_characters) {
            character->characterObject()->release();
        }
    }
    HeldCharacters(const HeldCharacters&) = delete;
    HeldCharacters& operator=(const HeldCharacters&) = delete;

    const std::vector<KXPControlledCharacter*>& list() const { return m_characters; }

private:
    std::vector<KXPControlledCharacter*> m_characters;
};

bool isDead(KXPControlledCharacter* character) {
    return character->characterObject()->getState() == KXPObject::kStateDead;
}

} // namespace

KXPInputController* KXPInputController::shared() {
    if (g_sharedController == nullptr) {
        // The shared slot and the keypad dispatcher hold it; nobody else owns it.
        KXPInputController* controller = new KXPInputController();
        controller->release();
    }
    return g_sharedController;
}

KXPInputController* KXPInputController::existing() {
    return g_sharedController;
}

void KXPInputController::purgeShared() {
    if (g_sharedController != nullptr) {
        g_sharedController->retire();
    }
}

KXPInputController::KXPInputController() {
    if (g_sharedController != nullptr) {
        g_sharedController->retire();
    }
    g_sharedController = this;
    retain(); // the shared slot's reference
    CCDirector::sharedDirector()->getKeypadDispatcher()->addDelegate(this);
}

KXPInputController::~KXPInputController() {
    debugLog("KXPInputController - deallocated");
    for (KXPControlledCharacter* character : registered()) {
        character->characterObject()->release();
    }
}

void KXPInputController::retire() {
    // Hold on: the dispatcher and the slot may hold the last references but the caller's.
    retain();
    if (!m_retired) {
        m_retired = true;
        // During a keypad dispatch the dispatcher keeps its reference until the dispatch ends.
        CCDirector::sharedDirector()->getKeypadDispatcher()->removeDelegate(this);
    }
    if (g_sharedController == this) {
        g_sharedController = nullptr;
        release();
    }
    release();
}

// --- actions ---

CCPoint KXPInputController::heldDirection() const {
    CCPoint direction = CCPointZero;
    for (int action : m_heldActions) {
        switch (action) {
        case kActionUp:
            direction.y += 1.0f;
            break;
        case kActionDown:
            direction.y -= 1.0f;
            break;
        case kActionRight:
            direction.x += 1.0f;
            break;
        case kActionLeft:
            direction.x -= 1.0f;
            break;
        default:
            break;
        }
    }
    return direction;
}

std::vector<KXPControlledCharacter*> KXPInputController::liveCharacters() const {
    std::vector<KXPControlledCharacter*> live;
    for (KXPControlledCharacter* character : registered()) {
        if (!isDead(character)) {
            live.push_back(character);
        }
    }
    return live;
}

void KXPInputController::sendDirection() {
    sendDirection(heldDirection());
}

void KXPInputController::sendDirection(const CCPoint& direction) {
    charactersTouched();
    HeldCharacters held(liveCharacters());
    for (KXPControlledCharacter* character : held.list()) {
        character->setDirection(direction);
    }
}

void KXPInputController::forEachCharacter(const std::function<void(KXPControlledCharacter*)>& visit) {
    charactersTouched();
    HeldCharacters held(registered());
    for (KXPControlledCharacter* character : held.list()) {
        visit(character);
    }
}

void KXPInputController::applyMotorSpeeds() {
    for (const Motor& motor : m_motors) {
        const float step = motor.model ? motor.model->speed() : 0.0f;
        float speed = 0.0f;
        for (int action : m_heldActions) {
            if (action == kActionMotorClockwise) {
                speed -= step;
            } else if (action == kActionMotorCounterClockwise) {
                speed += step;
            }
        }
        motor.joint->SetMotorSpeed(KXPPhysicsLimits::motorSpeed(speed));
    }
}

void KXPInputController::removeHeld(int action) {
    m_heldActions.erase(std::remove(m_heldActions.begin(), m_heldActions.end(), action), m_heldActions.end());
}

void KXPInputController::actionPressed(int action, CCObject* sender) {
    if (!m_enabled) {
        return;
    }
    charactersTouched();
    switch (action) {
    case kActionUp:
    case kActionDown:
    case kActionRight:
    case kActionLeft:
        m_heldActions.push_back(action);
        sendDirection();
        break;
    case kActionMotorClockwise:
    case kActionMotorCounterClockwise:
        m_heldActions.push_back(action);
        applyMotorSpeeds();
        break;
    case kActionJump:
    case kActionRotateLeft:
    case kActionRotateRight:
    case kActionShoot: {
        HeldCharacters held(liveCharacters());
        for (KXPControlledCharacter* character : held.list()) {
            if (action == kActionJump) {
                character->jump();
            } else if (action == kActionRotateLeft) {
                character->startLeftLean();
            } else if (action == kActionRotateRight) {
                character->startRightLean();
            } else {
                character->setShooting(true);
            }
        }
        break;
    }
    default:
        break;
    }
    notifyListeners(action, sender);
    switchUnits(action, true);
}

void KXPInputController::actionReleased(int action, CCObject* sender) {
    if (!m_enabled) {
        return;
    }
    charactersTouched();
    switch (action) {
    case kActionUp:
    case kActionDown:
    case kActionRight:
    case kActionLeft:
        removeHeld(action);
        sendDirection();
        break;
    case kActionMotorClockwise:
    case kActionMotorCounterClockwise:
        removeHeld(action);
        applyMotorSpeeds();
        break;
    case kActionJump:
    case kActionRotateLeft:
    case kActionRotateRight:
    case kActionShoot: {
        HeldCharacters held(liveCharacters());
        for (KXPControlledCharacter* character : held.list()) {
            if (action == kActionJump) {
                character->endJump();
            } else if (action == kActionRotateLeft) {
                character->stopLeftLean();
            } else if (action == kActionRotateRight) {
                character->stopRightLean();
            } else {
                character->setShooting(false);
            }
        }
        break;
    }
    default:
        break;
    }
    notifyListeners(action, sender);
    switchUnits(action, false);
}

void KXPInputController::notifyListeners(int action, CCObject* sender) {
    // A copy: a handler may subscribe or unsubscribe while it runs.
    const std::vector<Listener> listeners = m_listenersByAction[action];
    for (const Listener& listener : listeners) {
        if (listener.target == nullptr || listener.handler == nullptr) {
            continue;
        }
        if (listener.sourceId != 0 && sender != nullptr) {
            const std::shared_ptr<KXModel> model = KXObjectModelHolder::modelOf(sender);
            if (!model || model->id() != static_cast<uint32_t>(listener.sourceId)) {
                continue;
            }
        }
        CCObject* target = listener.target;
        SEL_CallFuncO handler = listener.handler;
        (target->*handler)(sender);
    }
}

void KXPInputController::switchUnits(int action, bool spawning) {
    auto found = m_unitsByAction.find(action);
    if (found == m_unitsByAction.end()) {
        return;
    }
    const std::vector<KXPObjectAsset*> units(found->second.begin(), found->second.end());
    for (KXPObjectAsset* unit : units) {
        unit->setSpawning(spawning);
    }
}

void KXPInputController::subscribe(int action, CCObject* target, SEL_CallFuncO handler, int sourceId) {
    m_listenersByAction[action].push_back(Listener{target, handler, sourceId});
}

void KXPInputController::unsubscribe(CCObject* target) {
    for (auto& entry : m_listenersByAction) {
        std::vector<Listener>& listeners = entry.second;
        auto found = std::find_if(listeners.begin(), listeners.end(),
                                  [target](const Listener& listener) { return listener.target == target; });
        if (found != listeners.end()) {
            listeners.erase(found);
            debugLog("action unsubscribed");
        }
    }
}

void KXPInputController::dispatch(CCObject* sender, int action, int sourceId) {
    charactersTouched();
    const std::vector<Listener> listeners = m_listenersByAction[action];
    for (const Listener& listener : listeners) {
        if (listener.target == nullptr || listener.handler == nullptr) {
            continue;
        }
        if (listener.sourceId == 0 || sourceId == 0 || listener.sourceId == sourceId) {
            CCObject* target = listener.target;
            SEL_CallFuncO handler = listener.handler;
            (target->*handler)(sender);
        }
    }
}

void KXPInputController::subscribeUnit(int action, KXPObjectAsset* unit) {
    if (unit != nullptr) {
        std::list<KXPObjectAsset*>& units = m_unitsByAction[action];
        m_unitPlaces[unit].emplace_back(action, units.insert(units.end(), unit));
    }
}

void KXPInputController::unsubscribeUnit(KXPObjectAsset* unit) {
    auto places = m_unitPlaces.find(unit);
    if (places == m_unitPlaces.end()) {
        return;
    }
    for (const auto& place : places->second) {
        m_unitsByAction[place.first].erase(place.second);
    }
    m_unitPlaces.erase(places);
}

void KXPInputController::clearUnits() {
    m_unitsByAction.clear();
    m_unitPlaces.clear();
}

// --- characters ---

void KXPInputController::addCharacter(KXPControlledCharacter* character) {
    if (character == nullptr || character->characterObject() == nullptr) {
        return;
    }
    character->characterObject()->retain();
    if (!m_characterPlaces.emplace(character, m_characters.size()).second) {
        m_registeredTwice = true;
    }
    m_characters.push_back(character);
    m_awaitingCharacters = false;
    m_heldCentreKnown = false;
    // A character made while a direction is held starts moving at once.
    if (m_additionBatches > 0 && m_allSteered) {
        if (!isDead(character)) {
            HeldCharacters held({character});
            character->setDirection(heldDirection());
        }
        return;
    }
    sendDirection();
    m_allSteered = m_additionBatches > 0;
}

KXPInputController::AdditionBatch::AdditionBatch(KXPInputController* controller) : m_controller(controller) {
    if (m_controller != nullptr) {
        m_controller->retain();
        // A batch inside another is part of it.
        if (m_controller->m_additionBatches++ == 0) {
            m_controller->charactersTouched();
        }
    }
}

KXPInputController::AdditionBatch::~AdditionBatch() {
    if (m_controller != nullptr) {
        if (--m_controller->m_additionBatches == 0) {
            m_controller->charactersTouched();
        }
        m_controller->release();
    }
}

void KXPInputController::removeCharacter(KXPControlledCharacter* character) {
    if (m_registeredTwice) {
        // The first of its places goes, as ever.
        const std::vector<KXPControlledCharacter*>& characters = registered();
        auto found = std::find(characters.begin(), characters.end(), character);
        if (found == characters.end()) {
            return;
        }
        m_characters.erase(m_characters.begin() + (found - characters.begin()));
        m_characterPlaces.clear();
        m_registeredTwice = false;
        for (size_t index = 0; index < m_characters.size(); ++index) {
            m_registeredTwice |= !m_characterPlaces.emplace(m_characters[index], index).second;
        }
    } else {
        auto place = m_characterPlaces.find(character);
        if (place == m_characterPlaces.end()) {
            return;
        }
        m_characters[place->second] = nullptr;
        m_characterPlaces.erase(place);
        ++m_leftPlaces;
    }
    m_summedCharacters = 0;
    m_heldCentreKnown = false;
    character->characterObject()->release();
}

const std::vector<KXPControlledCharacter*>& KXPInputController::registered() const {
    if (m_leftPlaces > 0) {
        m_characters.erase(std::remove(m_characters.begin(), m_characters.end(), nullptr),
                           m_characters.end());
        m_leftPlaces = 0;
        for (size_t index = 0; index < m_characters.size(); ++index) {
            m_characterPlaces[m_characters[index]] = index;
        }
    }
    return m_characters;
}

bool KXPInputController::hasLiveCharacters() const {
    for (KXPControlledCharacter* character : registered()) {
        if (!isDead(character)) {
            return true;
        }
    }
    return m_awaitingCharacters;
}

bool KXPInputController::centreTerm(KXPControlledCharacter* character, CCPoint& term) {
    KXPObject* object = character->characterObject();
    const int32_t state = object->getState();
    if (state == KXPObject::kStateDead || state == KXPObject::kStateRemoved) {
        return false;
    }
    term = character->isDirectMovement() ? character->getControlPosition() : object->getPosition();
    return true;
}

CCPoint KXPInputController::charactersPosition() {
    const std::vector<KXPControlledCharacter*>& characters = registered();
    const bool held = m_centreHeld && characters.size() >= kManyCharacters;
    if (characters.empty() || (held && m_heldCentreKnown)) {
        return m_centre;
    }
    m_heldCentreKnown = held;
    // Summed in order, as a float sum depends on it; in a batch, the sum before the newest
    // character is kept, so that each object made asking for the centre costs no walk.
    size_t start = 0;
    CCPoint sum = CCPointZero;
    int counted = 0;
    const size_t newest = characters.size() - 1;
    if (m_additionBatches > 0) {
        if (m_summedCharacters > newest) {
            m_summedCharacters = 0;
        }
        if (m_summedCharacters == 0) {
            m_summedPositions = CCPointZero;
            m_summedCount = 0;
        }
        CCPoint term;
        for (; m_summedCharacters < newest; ++m_summedCharacters) {
            if (centreTerm(characters[m_summedCharacters], term)) {
                m_summedPositions = m_summedPositions + term;
                ++m_summedCount;
            }
        }
        start = newest;
        sum = m_summedPositions;
        counted = m_summedCount;
    }
    CCPoint term;
    for (size_t index = start; index < characters.size(); ++index) {
        if (centreTerm(characters[index], term)) {
            sum = sum + term;
            ++counted;
        }
    }
    if (counted > 0) {
        m_centre = sum / static_cast<float>(counted);
    }
    return m_centre;
}

CCRect KXPInputController::charactersBoundingRect() const {
    const std::vector<KXPControlledCharacter*>& characters = registered();
    if (characters.empty()) {
        return CCRect();
    }
    b2AABB box = characters.front()->characterObject()->getAABB();
    for (KXPControlledCharacter* character : characters) {
        box.Combine(character->characterObject()->getAABB());
    }
    return CCRect(box.lowerBound.x * kPointsPerMetre, box.lowerBound.y * kPointsPerMetre,
                  (box.upperBound.x - box.lowerBound.x) * kPointsPerMetre,
                  (box.upperBound.y - box.lowerBound.y) * kPointsPerMetre);
}

CCPoint KXPInputController::charactersStartPosition() const {
    KXModelController* store = KXModelController::existing();
    if (store == nullptr) {
        return CCPointZero;
    }
    CCPoint sum = CCPointZero;
    int counted = 0;
    for (const auto& model : store->getModelsByType(KXModelLevelSection::staticType())) {
        const auto section = modelCast<KXModelLevelSection>(model);
        if (!section || !section->isInitSection()) {
            continue;
        }
        for (const auto& object : section->objects()) {
            if (object && object->isKindOf(KXModelObjectAssetCharacter::staticType())) {
                sum = sum + object->animatedPosition(0.0f, 0);
                ++counted;
            }
        }
    }
    return counted > 0 ? sum / static_cast<float>(counted) : CCPointZero;
}

int KXPInputController::firstCharacterZOrder() const {
    const std::vector<KXPControlledCharacter*>& characters = registered();
    return characters.empty() ? 0 : characters.front()->characterObject()->getZOrder();
}

std::shared_ptr<KXModelComponentHealth> KXPInputController::firstCharacterHealth() const {
    const std::vector<KXPControlledCharacter*>& characters = registered();
    if (characters.empty()) {
        return nullptr;
    }
    const auto placed = modelKindCast<KXModelObjectAsset>(characters.front()->characterObject()->getModel());
    const auto asset = placed ? placed->asset() : nullptr;
    if (!asset) {
        return nullptr;
    }
    for (const auto& child : asset->children()) {
        if (auto health = modelCast<KXModelComponentHealth>(child)) {
            return health;
        }
    }
    return nullptr;
}

void KXPInputController::killAllCharacters() {
    charactersTouched();
    HeldCharacters held(registered());
    for (KXPControlledCharacter* character : held.list()) {
        character->clearActivePowerups();
        character->characterObject()->setState(KXPObject::kStateDead);
    }
}

void KXPInputController::setJoystickAxes(float x, float y) {
    charactersTouched();
    HeldCharacters held(registered());
    for (KXPControlledCharacter* character : held.list()) {
        character->moveBy(x, y);
    }
}

void KXPInputController::pushCharacters(float dx, float dy, bool anyDirection) {
    charactersTouched();
    HeldCharacters held(liveCharacters());
    for (KXPControlledCharacter* character : held.list()) {
        if (character->isDirectMovement()) {
            character->setControlPosition(character->getControlPosition() + CCPoint(dx, dy));
            continue;
        }
        const CCPoint position = character->characterObject()->getPosition();
        CCPoint target = position + CCPoint(dx, dy);
        if (!anyDirection) {
            // A coordinate moves only the way the push goes.
            if ((dx > 0.0f && target.x < position.x) || (dx < 0.0f && target.x > position.x)) {
                target.x = position.x;
            }
            if ((dy > 0.0f && target.y < position.y) || (dy < 0.0f && target.y > position.y)) {
                target.y = position.y;
            }
        }
        if (!target.equals(position)) {
            character->setBodyPosition(target.x, target.y);
        }
    }
}

void KXPInputController::placeCharacters(const CCPoint& point) {
    charactersTouched();
    HeldCharacters held(registered());
    for (KXPControlledCharacter* character : held.list()) {
        character->setControlPosition(point);
        character->setBodyPosition(point.x, point.y);
        character->characterObject()->update(0.0f);
    }
}

void KXPInputController::reset() {
    charactersTouched();
    const std::vector<KXPControlledCharacter*> characters = registered();
    m_characters.clear();
    m_characterPlaces.clear();
    m_registeredTwice = false;
    for (KXPControlledCharacter* character : characters) {
        character->characterObject()->release();
    }
    m_awaitingCharacters = true;
    m_centre = CCPointZero;
    m_heldActions.clear();
}

// --- motors ---

void KXPInputController::addMotor(b2RevoluteJoint* joint, const std::shared_ptr<KXBaseModelLinker>& model) {
    if (joint != nullptr) {
        m_motors.push_back(Motor{joint, model});
    }
}

void KXPInputController::clearMotors() {
    m_motors.clear();
}

void KXPInputController::forgetMotorsOfObjects(const std::vector<KXPObject*>& objects) {
    for (KXPObject* object : objects) {
        b2Body* body = object != nullptr ? object->getBody() : nullptr;
        if (body == nullptr) {
            continue;
        }
        for (b2JointEdge* edge = body->GetJointList(); edge != nullptr; edge = edge->next) {
            b2Joint* joint = edge->joint;
            m_motors.erase(std::remove_if(m_motors.begin(), m_motors.end(),
                                          [joint](const Motor& motor) { return motor.joint == joint; }),
                           m_motors.end());
        }
    }
}

void KXPInputController::forgetJoint(const b2Joint* joint) {
    m_motors.erase(std::remove_if(m_motors.begin(), m_motors.end(),
                                  [joint](const Motor& motor) { return motor.joint == joint; }),
                   m_motors.end());
}

// --- on-screen control buttons ---

void KXPInputController::jumpPressed(CCObject*) {
    actionPressed(kActionJump, nullptr);
}
void KXPInputController::jumpReleased(CCObject*) {
    actionReleased(kActionJump, nullptr);
}
void KXPInputController::shootPressed(CCObject*) {
    actionPressed(kActionShoot, nullptr);
}
void KXPInputController::shootReleased(CCObject*) {
    actionReleased(kActionShoot, nullptr);
}
void KXPInputController::rotateLeftPressed(CCObject*) {
    actionPressed(kActionRotateLeft, nullptr);
}
void KXPInputController::rotateLeftReleased(CCObject*) {
    actionReleased(kActionRotateLeft, nullptr);
}
void KXPInputController::rotateRightPressed(CCObject*) {
    actionPressed(kActionRotateRight, nullptr);
}
void KXPInputController::rotateRightReleased(CCObject*) {
    actionReleased(kActionRotateRight, nullptr);
}
void KXPInputController::moveRightPressed(CCObject*) {
    actionPressed(kActionRight, nullptr);
}
void KXPInputController::moveRightReleased(CCObject*) {
    actionReleased(kActionRight, nullptr);
}
void KXPInputController::moveLeftPressed(CCObject*) {
    actionPressed(kActionLeft, nullptr);
}
void KXPInputController::moveLeftReleased(CCObject*) {
    actionReleased(kActionLeft, nullptr);
}
void KXPInputController::moveUpPressed(CCObject*) {
    actionPressed(kActionUp, nullptr);
}
void KXPInputController::moveUpReleased(CCObject*) {
    actionReleased(kActionUp, nullptr);
}
void KXPInputController::moveDownPressed(CCObject*) {
    actionPressed(kActionDown, nullptr);
}
void KXPInputController::moveDownReleased(CCObject*) {
    actionReleased(kActionDown, nullptr);
}
void KXPInputController::motorClockwisePressed(CCObject*) {
    actionPressed(kActionMotorClockwise, nullptr);
}
void KXPInputController::motorClockwiseReleased(CCObject*) {
    actionReleased(kActionMotorClockwise, nullptr);
}
void KXPInputController::motorCounterClockwisePressed(CCObject*) {
    actionPressed(kActionMotorCounterClockwise, nullptr);
}
void KXPInputController::motorCounterClockwiseReleased(CCObject*) {
    actionReleased(kActionMotorCounterClockwise, nullptr);
}

// --- buttons bound to keys ---

std::map<int, std::vector<KXPObjectButton*>>& KXPInputController::buttonsByKey() {
    // Never destroyed: buttons may still unregister while the process shuts down.
    static auto* buttons = new std::map<int, std::vector<KXPObjectButton*>>();
    return *buttons;
}

void KXPInputController::registerButton(int key, KXPObjectButton* button) {
    if (button != nullptr) {
        buttonsByKey()[key].push_back(button);
    }
}

void KXPInputController::unregisterButton(int key, KXPObjectButton* button) {
    auto found = buttonsByKey().find(key);
    if (found == buttonsByKey().end()) {
        return;
    }
    std::vector<KXPObjectButton*>& buttons = found->second;
    buttons.erase(std::remove(buttons.begin(), buttons.end(), button), buttons.end());
    if (buttons.empty()) {
        buttonsByKey().erase(found);
    }
}

bool KXPInputController::pressKeyButtons(int key, KXPScreen* screen) {
    auto found = buttonsByKey().find(key);
    if (found == buttonsByKey().end()) {
        return false;
    }
    // Held for the walk: a press may lead to another bound button being taken down.
    const std::vector<KXPObjectButton*> buttons = found->second;
    holdAll(buttons, true);
    // An earlier button may take the screen down: the rest of its buttons are then left alone.
    const KXPScreen::Hold held(screen);
    bool pressed = false;
    for (KXPObjectButton* button : buttons) {
        if (held.takenDown()) {
            break;
        }
        // Hidden ones too: a game may bind a key to a button it never shows.
        if (button->parentScreen() == screen) {
            button->press();
            pressed = true;
        }
    }
    holdAll(buttons, false);
    return pressed;
}

bool KXPInputController::releaseKeyButtons(int key, KXPScreen* screen) {
    auto found = buttonsByKey().find(key);
    if (found == buttonsByKey().end()) {
        return false;
    }
    const std::vector<KXPObjectButton*> buttons = found->second;
    holdAll(buttons, true);
    // An earlier button may take the screen down: the rest of its buttons are then left alone.
    const KXPScreen::Hold held(screen);
    bool released = false;
    for (KXPObjectButton* button : buttons) {
        if (held.takenDown()) {
            break;
        }
        // Releasing activates: only a button that shows pressed.
        if (button->parentScreen() == screen && button->isSelected()) {
            button->release();
            released = true;
        }
    }
    holdAll(buttons, false);
    return released;
}
