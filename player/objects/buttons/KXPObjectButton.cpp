#include "player/objects/buttons/KXPObjectButton.h"

#include "model/classes/KXModelObjectButton.h"
#include "model/classes/KXModelObjectButtonCharacterUnlock.h"
#include "model/classes/KXModelObjectButtonControl.h"
#include "model/classes/KXModelObjectButtonFacebook.h"
#include "model/classes/KXModelObjectButtonPowerup.h"
#include "model/classes/KXModelObjectButtonPurchase.h"
#include "model/classes/KXModelObjectButtonSoundControl.h"
#include "model/classes/KXModelObjectButtonSwitch.h"
#include "model/classes/KXModelObjectButtonUrl.h"
#include "model/classes/KXModelObjectLockButton.h"
#include "model/classes/KXModelSound.h"
#include "player/base/KXPKinds.h"
#include "player/input/KXPInputController.h"
#include "player/objects/KXObjectModelHolder.h"
#include "player/objects/buttons/KXPButtonImages.h"
#include "player/objects/buttons/KXPObjectButtonFacebook.h"
#include "player/objects/buttons/KXPObjectButtonLock.h"
#include "player/objects/buttons/KXPObjectButtonPowerup.h"
#include "player/objects/buttons/KXPObjectButtonPurchase.h"
#include "player/objects/buttons/KXPObjectButtonSwitch.h"
#include "player/objects/buttons/KXPObjectButtonUnlockCharacter.h"
#include "player/objects/buttons/KXPObjectButtonUrl.h"
#include "player/screens/KXPScreen.h"
#include "player/sound/KXSound.h"

#include <algorithm>

using namespace cocos2d;

namespace {

// A model's "Keyboard Key" binds the button unless it is -1 (no key) or 0, the value a button
// has when no key was chosen and the code no real key translates to.
bool hasKeyboardKey(int key) {
    return key != -1 && key != 0;
}

constexpr const char* kFactory = "button";

// A button of class T over the three images, autoreleased.
template <class T> T* createOfKind(const KXPButtonImages& images) {
    T* button = new T();
    button->initWithNormalSprite(images.normal, images.selected, images.disabled, nullptr, nullptr);
    button->autorelease();
    return button;
}

// Kinds that build their own pictures in setModel (they follow a lock or a character), made
// empty.
template <class T> KXPObjectButton* createSelfDrawn(const KXPButtonImages&, KXPScreen*) {
    T* button = new T();
    button->initWithNormalSprite(nullptr, nullptr, nullptr, nullptr, nullptr);
    button->autorelease();
    return button;
}

template <class T> KXPObjectButton* createPlain(const KXPButtonImages& images, KXPScreen*) {
    return createOfKind<T>(images);
}

KXPObjectButton* createPurchase(const KXPButtonImages& images, KXPScreen* target) {
    KXPObjectButton* button = createOfKind<KXPObjectButtonPurchase>(images);
    if (target != nullptr) {
        button->setMenuTarget(target, menu_selector(KXPScreen::purchaseButtonPressed));
    }
    return button;
}

// Action buttons use their powerup through the screen.
KXPObjectButton* createPowerup(const KXPButtonImages& images, KXPScreen* target) {
    KXPObjectButton* button = createOfKind<KXPObjectButtonPowerup>(images);
    if (target != nullptr) {
        button->setMenuTarget(target, menu_selector(KXPScreen::usePowerupButton));
    }
    return button;
}

struct ButtonKind {
    uint32_t modelType;
    const char* name;
    // Whether the maker needs the model's images.
    bool usesImages;
    // The button initialised over the images and bound to the screen where that kind reports to
    // it, autoreleased.
    KXPObjectButton* (*make)(const KXPButtonImages& images, KXPScreen* target);
};

// One row per button class, found by the model's exact class; the first row is the plain button,
// also made for any other button class. Controls and the mute switch are plain buttons that
// components and the sound controller find by their model.
const ButtonKind kButtonKinds[] = {
    {KXModelObjectButton::staticType(), "button", true, &createPlain<KXPObjectButton>},
    {KXModelObjectLockButton::staticType(), "lock", false, &createSelfDrawn<KXPObjectButtonLock>},
    {KXModelObjectButtonCharacterUnlock::staticType(), "unlock-character", false,
     &createSelfDrawn<KXPObjectButtonUnlockCharacter>},
    {KXModelObjectButtonPurchase::staticType(), "purchase", true, &createPurchase},
    {KXModelObjectButtonUrl::staticType(), "url", true, &createPlain<KXPObjectButtonUrl>},
    {KXModelObjectButtonFacebook::staticType(), "facebook", true, &createPlain<KXPObjectButtonFacebook>},
    {KXModelObjectButtonSwitch::staticType(), "switch", true, &createPlain<KXPObjectButtonSwitch>},
    {KXModelObjectButtonPowerup::staticType(), "powerup", true, &createPowerup},
    {KXModelObjectButtonControl::staticType(), "control", true, &createPlain<KXPObjectButton>},
    {KXModelObjectButtonSoundControl::staticType(), "sound-control", true, &createPlain<KXPObjectButton>},
};

const ButtonKind& buttonKindOf(const KXModelObjectButton& model) {
    for (const ButtonKind& kind : kButtonKinds) {
        if (kind.modelType == model.typeId()) {
            return kind;
        }
    }
    return kButtonKinds[0];
}

KXPObjectButton* makeButtonOfKind(const KXModelObjectButton& model, KXPScreen* target) {
    const ButtonKind& kind = buttonKindOf(model);
    KXPButtonImages images;
    if (kind.usesImages) {
        images.makeStandard(model.spriteContainer(), model.imageSelected());
    }
    KXPObjectButton* button = kind.make(images, target);
    if (button != nullptr) {
        kxKindMade(kFactory, kind.name);
    }
    return button;
}

} // namespace

KXPObjectButton* KXPObjectButton::create(const std::shared_ptr<KXModelObjectButton>& model,
                                         KXPScreen* target) {
    if (!model) {
        return nullptr;
    }
    model->countPress();
    if (!model->isActionDue()) {
        return nullptr;
    }

    KXPObjectButton* button = makeButtonOfKind(*model, target);
    if (button == nullptr) {
        return nullptr;
    }
    button->takeModel(model);
    return button;
}

KXPObjectButton* KXPObjectButton::createForLevel(const std::shared_ptr<KXModelObjectButton>& model) {
    if (!model) {
        return nullptr;
    }
    KXPButtonImages images;
    images.makeStandard(model->spriteContainer(), nullptr);
    KXPObjectButton* button = createWithSprites(images.normal, images.selected, images.disabled);
    button->takeModel(model);
    return button;
}

void KXPObjectButton::takeModel(const std::shared_ptr<KXModelObjectButton>& model) {
    setModel(model);
    setPosition(model->stickToEdge() ? model->screenAdjustedPosition(0.0f, 0)
                                     : model->animatedPosition(0.0f, 0));
    setRotation(model->animatedRotation(0.0f, 0));
    const CCPoint scale = model->animatedScale(0.0f, 0);
    setScaleX(scale.x);
    setScaleY(scale.y);
    setAutohideDelay(model->autohide());
}

KXPKindTable KXPObjectButton::kindTable() {
    KXPKindTable table{kFactory, {}};
    for (const ButtonKind& kind : kButtonKinds) {
        table.rows.push_back(kind.name);
    }
    return table;
}

KXPObjectButton* KXPObjectButton::createWithSprites(CCNode* normal, CCNode* selected, CCNode* disabled) {
    KXPObjectButton* button = new KXPObjectButton();
    button->initWithNormalSprite(normal, selected, disabled, nullptr, nullptr);
    button->autorelease();
    return button;
}

KXPObjectButton::KXPObjectButton() = default;

KXPObjectButton::~KXPObjectButton() {
    if (m_keyRegistered) {
        KXPInputController::unregisterButton(m_registeredKey, this);
    }
}

void KXPObjectButton::setModel(const std::shared_ptr<KXModelObjectButton>& model) {
    // A second model moves the key binding with it.
    if (m_keyRegistered) {
        KXPInputController::unregisterButton(m_registeredKey, this);
        m_keyRegistered = false;
    }
    m_model = model;
    if (!model) {
        return;
    }
    setUserObject(KXObjectModelHolder::create(model));
    const int key = model->keyboardKey();
    if (hasKeyboardKey(key)) {
        KXPInputController::registerButton(key, this);
        m_keyRegistered = true;
        m_registeredKey = key;
    }
}

void KXPObjectButton::resetAnimationTime() {
    m_elapsed = 0.0f;
}

void KXPObjectButton::setAutohideDelay(float delay) {
    m_autohideDelay = delay;
}

void KXPObjectButton::setAnimationKey(int key) {
    m_animationKey = key;
}

void KXPObjectButton::setMenuTarget(CCObject* target, SEL_MenuHandler selector) {
    setTarget(target, selector);
    m_pressHandler = nullptr;
    m_releaseHandler = nullptr;
}

void KXPObjectButton::setActionHandler(CCObject* listener, SEL_MenuHandler press, SEL_MenuHandler release) {
    setTarget(listener, nullptr);
    m_pressHandler = press;
    m_releaseHandler = release;
}

void KXPObjectButton::playSound(const std::shared_ptr<KXModelSound>& sound) {
    if (!sound) {
        return;
    }
    KXSound* effect = new KXSound(sound, KXSound::kInterfaceGroup);
    effect->setAutoDelete(true);
    effect->play(false, false);
}

void KXPObjectButton::callHandler(SEL_MenuHandler handler) {
    // Through locals: the member-pointer call on the members themselves trips the compiler's
    // undefined-behaviour checks.
    CCObject* listener = m_pListener;
    if (listener != nullptr && handler != nullptr) {
        (listener->*handler)(this);
    }
}

void KXPObjectButton::selected() {
    if (!isEnabled()) {
        return;
    }
    CCMenuItemSprite::selected();
    if (m_model) {
        playSound(m_model->clickSound());
    }
    callHandler(m_pressHandler);
}

void KXPObjectButton::unselected() {
    if (!isEnabled()) {
        return;
    }
    CCMenuItemSprite::unselected();
    callHandler(m_releaseHandler);
}

void KXPObjectButton::activate() {
    if (isEnabled() && m_model) {
        playSound(m_model->releaseSound());
    }
    // A button with an "Interval" is used up: it hides, and its model answers "not due" until
    // the screen is built again.
    if (m_model && m_model->interval() != 0.0f) {
        m_model->setActionHeld();
        setVisible(false);
    }
    CCMenuItemSprite::activate();
}

void KXPObjectButton::press() {
    if (isEnabled()) {
        selected();
    }
}

void KXPObjectButton::release() {
    if (isEnabled()) {
        unselected();
        activate();
    }
}

KXPScreen* KXPObjectButton::parentScreen() const {
    for (CCNode* node = getParent(); node != nullptr; node = node->getParent()) {
        if (KXPScreen* screen = dynamic_cast<KXPScreen*>(node)) {
            return screen;
        }
    }
    return nullptr;
}

void KXPObjectButton::update(float dt) {
    if (!m_model) {
        return;
    }
    // The press handlers below may hand the button to code that takes it down.
    CCObject* self = this;
    self->retain();

    m_elapsed += dt;
    if (m_autohideDelay > 0.0f && isVisible() && !m_fadedOut && m_elapsed >= m_autohideDelay) {
        CCObject* item = nullptr;
        CCARRAY_FOREACH(getChildren(), item) {
            static_cast<CCNode*>(item)->runAction(
                CCRepeat::create(CCFadeOut::create(kAutohideFadeSeconds), 1));
        }
        m_fadedOut = true;
    }

    const std::shared_ptr<KXModelObjectButton> held = m_model;
    const KXModelObjectButton& model = *held;
    setRotation(model.animatedRotation(m_elapsed, m_animationKey));
    const CCPoint scale = model.animatedScale(m_elapsed, m_animationKey);
    setScaleX(scale.x);
    setScaleY(scale.y);
    setPosition(model.stickToEdge() ? model.screenAdjustedPosition(m_elapsed, m_animationKey)
                                    : model.animatedPosition(m_elapsed, m_animationKey));

    if (!m_fadedOut) {
        const float opacity =
            std::min(1.0f, std::max(0.0f, model.animatedOpacity(m_elapsed, m_animationKey)));
        const GLubyte byte = static_cast<GLubyte>(opacity * 255.0f);
        CCObject* item = nullptr;
        CCARRAY_FOREACH(getChildren(), item) {
            if (CCSprite* sprite = ccNodeAs<CCSprite>(item)) {
                sprite->setOpacity(byte);
            }
        }
    }

    const bool emulated = model.isTouchEmulationOn(m_elapsed, m_animationKey);
    if (emulated && !m_touchEmulationPressed && isEnabled()) {
        selected();
        m_touchEmulationPressed = true;
    } else {
        if (!emulated && m_touchEmulationPressed && isEnabled()) {
            unselected();
            activate();
        }
        m_touchEmulationPressed = emulated;
    }
    self->release();
}
