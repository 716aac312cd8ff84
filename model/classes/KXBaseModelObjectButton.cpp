#include "model/classes/KXBaseModelObjectButton.h"

#include "model/KXNumeric.h"
#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXAttributeBinding.h"
#include "model/classes/KXModelQueries.h"
#include "model/classes/KXModelScreen.h"
#include "model/classes/KXNodeScene.h"
#include "model/classes/KXNodeUI.h"
#include "model/references/KXAttributeSound.h"
#include "model/references/KXAttributeSprite.h"

#include <climits>
#include <cmath>

namespace {
constexpr const char* kAutohide = "Autohide";
constexpr const char* kImageSelected = "Image Selected";
constexpr const char* kAction = "Action";
constexpr const char* kInterval = "Interval";
constexpr const char* kBackTo = "Back To";
constexpr const char* kBackToWorld = "Back To World";
constexpr const char* kClickSound = "Click Sound";
constexpr const char* kReleaseSound = "Release Sound";
constexpr const char* kBlockTouch = "Block Touch";
constexpr const char* kKeyboardKey = "Keyboard Key";
constexpr const char* kTouchEmulation = "Touch Emulation";

constexpr double kTouchEmulationThreshold = 0.5;

// The interval as a whole repeat count; 0 when it gives no usable count (not finite, below 1).
int wholeInterval(float interval) {
    if (!std::isfinite(interval) || !(interval > 0.0f)) {
        return 0;
    }
    return kx::truncateToInt(interval);
}
} // namespace

KXBaseModelObjectButton::KXBaseModelObjectButton(const std::string& name)
    : KXModelObjectImage(name), m_imageSelected(new KXAttributeSprite(kImageSelected, nullptr, 0)),
      m_action(new KXAttributeStringList(kAction, this)), m_interval(new KXAttributeFloat(kInterval, this)),
      m_backTo(new KXAttributeStringList(kBackTo, this)),
      m_backToWorld(new KXAttributeStringList(kBackToWorld, this)),
      m_clickSound(new KXAttributeSound(kClickSound, this)),
      m_releaseSound(new KXAttributeSound(kReleaseSound, this)),
      m_blockTouch(new KXAttributeBool(kBlockTouch, this)),
      m_keyboardKey(new KXAttributeKey(kKeyboardKey, this)),
      m_touchEmulation(new KXAttributeFloat(kTouchEmulation, this)) {
    // The pressed image is stored right after the normal one, before "Autohide".
    insertAttribute(m_imageSelected, attributeIndex(attribute(kAutohide)));

    m_touchEmulation->setMaximum(1.0f);
    m_touchEmulation->setValue(m_touchEmulation->value(), true);
    m_touchEmulation->setVariableValue(m_touchEmulation->clamped(m_touchEmulation->variableValue()));
    m_touchEmulation->setMinimum(-1.0f);
    m_touchEmulation->setValue(m_touchEmulation->value(), true);
    m_touchEmulation->setVariableValue(m_touchEmulation->clamped(m_touchEmulation->variableValue()));

    m_blockTouch->setValue(true, true);
}

KXBaseModelObjectButton::KXBaseModelObjectButton(const KXBaseModelObjectButton& source)
    : KXModelObjectImage(source), m_imageSelected(attributeOfClass<KXAttributeSprite>(*this, kImageSelected)),
      m_action(attributeOfClass<KXAttributeStringList>(*this, kAction)),
      m_interval(boundAttribute<KXAttributeFloat>(*this, kInterval)),
      m_backTo(boundAttribute<KXAttributeStringList>(*this, kBackTo)),
      m_backToWorld(boundAttribute<KXAttributeStringList>(*this, kBackToWorld)),
      m_clickSound(boundAttribute<KXAttributeSound>(*this, kClickSound)),
      m_releaseSound(boundAttribute<KXAttributeSound>(*this, kReleaseSound)),
      m_blockTouch(boundAttribute<KXAttributeBool>(*this, kBlockTouch)),
      m_keyboardKey(boundAttribute<KXAttributeKey>(*this, kKeyboardKey)),
      m_touchEmulation(boundAttribute<KXAttributeFloat>(*this, kTouchEmulation)) {}

void KXBaseModelObjectButton::bindActionAttribute(const char* storedName) {
    m_action = boundAttribute<KXAttributeStringList>(*this, storedName);
}

void KXBaseModelObjectButton::bindImageSelectedAttribute(const char* storedName) {
    m_imageSelected = boundAttribute<KXAttributeSprite>(*this, storedName);
}

std::shared_ptr<KXModelSpriteContainer> KXBaseModelObjectButton::imageSelected() const {
    return attributeValue(m_imageSelected);
}
std::shared_ptr<KXModelSound> KXBaseModelObjectButton::clickSound() const {
    return attributeValue(m_clickSound);
}
std::shared_ptr<KXModelSound> KXBaseModelObjectButton::releaseSound() const {
    return attributeValue(m_releaseSound);
}
int KXBaseModelObjectButton::keyboardKey() const {
    return attributeValue(m_keyboardKey);
}
const std::string& KXBaseModelObjectButton::action() const {
    return attributeText(m_action);
}
float KXBaseModelObjectButton::interval() const {
    return attributeValue(m_interval);
}
const std::string& KXBaseModelObjectButton::backTo() const {
    return attributeText(m_backTo);
}
const std::string& KXBaseModelObjectButton::backToWorld() const {
    return attributeText(m_backToWorld);
}
bool KXBaseModelObjectButton::blockTouch() const {
    return attributeValue(m_blockTouch);
}

bool KXBaseModelObjectButton::isTouchEmulationOn(float time, int stateKey) const {
    if (m_touchEmulation == nullptr) {
        return false;
    }
    const double sum = static_cast<double>(m_touchEmulation->value()) +
                       static_cast<double>(m_touchEmulation->animatedValue(time, stateKey));
    return static_cast<float>(sum) >= static_cast<float>(kTouchEmulationThreshold);
}

void KXBaseModelObjectButton::resetPressCounter() {
    m_pressCounter = kx::truncateToInt(interval());
    m_actionHeld = false;
}

void KXBaseModelObjectButton::countPress() {
    // Saturates rather than wrapping after two billion builds.
    if (m_pressCounter > INT32_MIN) {
        --m_pressCounter;
    }
    m_actionHeld = false;
}

void KXBaseModelObjectButton::setActionHeld() {
    m_actionHeld = true;
}

bool KXBaseModelObjectButton::isActionDue() const {
    if (m_actionHeld) {
        return false;
    }
    const int period = wholeInterval(interval());
    if (period <= 0) {
        return true;
    }
    // C++ remainders take the dividend's sign, as the rule wants; 64 bits keep counter - 1 exact.
    return (static_cast<int64_t>(m_pressCounter) - 1) % period == 0;
}

std::string KXBaseModelObjectButton::resolvedBackTo() const {
    if (!backToWorld().empty()) {
        return backTo();
    }
    const std::string& target = backTo();
    for (const std::shared_ptr<KXNodeUI>& node : getModels<KXNodeUI>()) {
        std::shared_ptr<KXModelScreen> screen = getChild<KXModelScreen>(*node);
        if (screen && screen->key() == target) {
            return target;
        }
    }
    return std::string();
}

std::string KXBaseModelObjectButton::resolvedBackToWorld() const {
    if (!backToWorld().empty()) {
        return backToWorld();
    }
    const std::string& target = backTo();
    for (const std::shared_ptr<KXNodeScene>& node : getModels<KXNodeScene>()) {
        std::shared_ptr<KXModelScreen> screen = node->screen();
        if (screen && screen->key() == target) {
            return target;
        }
    }
    return std::string();
}
