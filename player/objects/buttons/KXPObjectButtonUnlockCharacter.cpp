#include "player/objects/buttons/KXPObjectButtonUnlockCharacter.h"

#include <vector>

#include "model/KXDebugLog.h"
#include "model/classes/KXAttributeBinding.h"
#include "model/classes/KXModelAnimation.h"
#include "model/classes/KXModelAssetCharacter.h"
#include "model/classes/KXModelComponentCharacterIcon.h"
#include "model/classes/KXModelObjectButtonCharacterUnlock.h"
#include "model/classes/KXModelQueries.h"
#include "model/classes/KXModelSpriteContainer.h"
#include "model/references/KXAttributeAnimation.h"
#include "player/ads/KXAdController.h"
#include "player/app/KXPScreensController.h"
#include "player/base/KXPColorSprite.h"
#include "player/objects/KXPAnimationObject.h"
#include "player/objects/KXPObjectCharacterSelector.h"
#include "player/screens/KXPScreenUi.h"
#include "player/services/KXPurchaseBridge.h"
#include "player/services/KXServices.h"
#include "player/store/KXPCharacterUnlock.h"
#include "player/store/KXPSettingsController.h"

using namespace cocos2d;

namespace {

std::shared_ptr<KXModelAnimation> defaultAnimationOf(const KXModelAssetCharacter& character) {
    const KXAttributeAnimation* attribute = character.defaultAnimationAttribute();
    return attribute != nullptr ? attribute->value() : nullptr;
}

} // namespace

KXPObjectButtonUnlockCharacter::~KXPObjectButtonUnlockCharacter() = default;

void KXPObjectButtonUnlockCharacter::setModel(const std::shared_ptr<KXModelObjectButton>& model) {
    KXPObjectButton::setModel(model);
    for (KXPAnimationObject** icon : {&m_idleIcon, &m_lockedIcon, &m_selectedIcon}) {
        if (*icon != nullptr) {
            (*icon)->removeFromParentAndCleanup(true);
            *icon = nullptr;
        }
    }
    m_character.reset();
    m_characterImage = nullptr;
    m_characterIndex = -1;
    m_state = kStateNone;

    const auto unlock = modelCast<KXModelObjectButtonCharacterUnlock>(model);
    if (unlock) {
        const uint32_t id = leadingId(unlock->character());
        const std::vector<std::shared_ptr<KXModelAssetCharacter>> characters =
            getModels<KXModelAssetCharacter>();
        for (size_t i = 0; i < characters.size(); ++i) {
            if (characters[i]->id() == id) {
                m_character = characters[i];
                m_characterIndex = static_cast<int>(i);
                break;
            }
        }
        if (!m_character) {
            debugLog("[KXPObjectButtonUnlockCharacter] %s: no character %s", unlock->name().c_str(),
                     unlock->character().c_str());
        }
    }

    CCSprite* image = nullptr;
    if (m_character) {
        if (const std::shared_ptr<KXModelSpriteContainer> sprites = m_character->spriteContainer()) {
            image = sprites->getSprite(1.0f, true);
        }
    }
    if (image != nullptr) {
        setNormalImage(image);
        image->release();
        m_characterImage = image;
    } else {
        setNormalImage(createColorSprite(CCSize(kPlaceholderSide, kPlaceholderSide), ccc4(0, 0, 0, 255)));
    }
    setSelectedImage(nullptr);
    setDisabledImage(nullptr);

    if (!m_character) {
        return;
    }
    const std::shared_ptr<KXModelComponentCharacterIcon> icons =
        getFirstChild<KXModelComponentCharacterIcon>(*m_character);
    std::shared_ptr<KXModelAnimation> idle = icons ? icons->regularIcon() : nullptr;
    if (!idle) {
        idle = defaultAnimationOf(*m_character);
    }
    m_idleIcon = makeIcon(idle);
    if (icons && m_characterImage == nullptr) {
        m_lockedIcon = makeIcon(icons->lockedIcon());
    }
    if (icons) {
        m_selectedIcon = makeIcon(icons->selectedIcon());
    }
}

KXPAnimationObject*
KXPObjectButtonUnlockCharacter::makeIcon(const std::shared_ptr<KXModelAnimation>& animation) {
    if (!animation || animation->frameCount() == 0) {
        return nullptr;
    }
    auto* icon = new KXPAnimationObject(animation, nullptr, false);
    icon->autorelease();
    icon->setVisible(false);
    const CCSize& size = getContentSize();
    icon->setPosition(CCPoint(size.width * 0.5f, size.height * 0.5f));
    addChild(icon);
    return icon;
}

void KXPObjectButtonUnlockCharacter::showState(int state) {
    m_state = state;
    // The picture of a locked character: its sprite, else its locked icon.
    CCNode* lockedPicture =
        m_characterImage != nullptr ? static_cast<CCNode*>(m_characterImage) : m_lockedIcon;
    switch (state) {
    case kStateLocked:
        if (lockedPicture != nullptr) {
            lockedPicture->setVisible(true);
        }
        if (m_idleIcon != nullptr) {
            m_idleIcon->setVisible(getNormalImage() == nullptr && m_lockedIcon == nullptr);
        }
        if (m_selectedIcon != nullptr) {
            m_selectedIcon->setVisible(false);
        }
        break;
    case kStateSelected:
        if (lockedPicture != nullptr) {
            lockedPicture->setVisible(false);
        }
        if (m_selectedIcon != nullptr) {
            m_selectedIcon->setVisible(true);
        }
        if (m_idleIcon != nullptr) {
            m_idleIcon->setVisible(m_selectedIcon == nullptr);
        }
        break;
    case kStateUnlocked:
        if (m_idleIcon != nullptr) {
            m_idleIcon->setVisible(true);
        }
        if (lockedPicture != nullptr) {
            lockedPicture->setVisible(false);
        }
        if (m_selectedIcon != nullptr) {
            m_selectedIcon->setVisible(false);
        }
        break;
    default:
        break;
    }
}

int KXPObjectButtonUnlockCharacter::currentState() const {
    if (m_characterIndex < 0) {
        return kStateNone;
    }
    KXPSettingsController* settings = KXPSettingsController::shared();
    if (!settings->isCharacterUnlocked(static_cast<uint32_t>(m_characterIndex))) {
        return kStateLocked;
    }
    return settings->selectedCharacter() == m_characterIndex ? kStateSelected : kStateUnlocked;
}

void KXPObjectButtonUnlockCharacter::update(float dt) {
    // Held to the end: the base update's touch emulation may unlock or select, and what that does
    // may take this button's screen down.
    CCObject* self = this;
    self->retain();
    KXPObjectButton::update(dt);
    showUnlockState(dt);
    self->release();
}

void KXPObjectButtonUnlockCharacter::showUnlockState(float dt) {
    if (m_characterIndex < 0) {
        return;
    }
    showState(currentState());
    if (m_pendingUnlock && --m_pendingFrames <= 0) {
        m_pendingUnlock = false;
        completeUnlock();
    }
    if (m_model) {
        const float opacity = m_model->animatedOpacity(m_elapsed, m_animationKey);
        for (KXPAnimationObject* icon : {m_idleIcon, m_lockedIcon, m_selectedIcon}) {
            if (icon != nullptr) {
                icon->setOpacityFactor(opacity);
                icon->update(dt);
            }
        }
    }
    const auto unlock = modelCast<KXModelObjectButtonCharacterUnlock>(m_model);
    if (unlock && unlock->showWhenSelected() && m_characterImage != nullptr) {
        if (m_state == kStateLocked) {
            KXPScreenUi* ui = KXPScreensController::shared()->currentUi();
            KXPObjectCharacterSelector* selector = ui != nullptr ? ui->findCharacterSelector() : nullptr;
            setVisible(selector != nullptr && selector->shownIndex() == m_characterIndex);
        } else {
            setVisible(false);
        }
    }
}

void KXPObjectButtonUnlockCharacter::activate() {
    // A completed purchase or the screen's handler may take the button down.
    CCObject* self = this;
    self->retain();
    if (m_character) {
        const int state = currentState();
        if (state == kStateLocked) {
            startUnlock(*m_character);
        } else if (state == kStateUnlocked) {
            KXPSettingsController::shared()->setSelectedCharacter(m_characterIndex);
            showState(kStateSelected);
        }
    }
    KXPObjectButton::activate();
    self->release();
}

void KXPObjectButtonUnlockCharacter::startUnlock(const KXModelAssetCharacter& character) {
    const std::string& method = character.purchaseMethod();
    if (method == KXPCharacterUnlock::kCoins) {
        if (KXPCharacterUnlock::payWithCoins(character)) {
            KXPCharacterUnlock::grant(m_characterIndex);
        } else {
            KXServices::shared()->setCallback("", nullptr, nullptr);
        }
    } else if (method == KXPCharacterUnlock::kStore) {
        if (!character.storeIdentifier().empty()) {
            KXPurchaseBridge::shared()->setCallback(
                this, purchase_selector(KXPObjectButtonUnlockCharacter::purchaseDidComplete));
            KXPurchaseBridge::shared()->purchase(character.storeIdentifier());
        }
    } else if (method == KXPCharacterUnlock::kRewardedVideo) {
        KXAdController::shared()->setRewardedVideoCallback(
            this, callfunc_selector(KXPObjectButtonUnlockCharacter::completeUnlock));
        KXAdController::shared()->showRewardedVideo(character.adNetwork());
    } else if (method == KXPCharacterUnlock::kWebLink) {
        if (!character.webLink().empty()) {
            KXServices::shared()->openUrl(character.webLink());
        }
        m_pendingUnlock = true;
        m_pendingFrames = kPendingUnlockFrames;
    }
}

void KXPObjectButtonUnlockCharacter::purchaseDidComplete(const std::string& /*productIdentifier*/) {
    completeUnlock();
}

void KXPObjectButtonUnlockCharacter::completeUnlock() {
    if (m_characterIndex < 0) {
        return;
    }
    KXPCharacterUnlock::grant(m_characterIndex);
    showState(kStateSelected);
}
