#include "player/objects/KXPObjectCharacterSelector.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "model/KXDebugLog.h"
#include "model/KXNumeric.h"
#include "model/classes/KXModelAnimation.h"
#include "model/classes/KXModelAssetCharacter.h"
#include "model/classes/KXModelComponentCharacterIcon.h"
#include "model/classes/KXModelFont.h"
#include "model/classes/KXModelGeneralSettings.h"
#include "model/classes/KXModelObject.h"
#include "model/classes/KXModelObjectCharacterSelector.h"
#include "model/classes/KXModelQueries.h"
#include "model/classes/KXModelSpriteContainer.h"
#include "model/references/KXAttributeAnimation.h"
#include "player/ads/KXAdController.h"
#include "player/base/KXPColorSprite.h"
#include "player/base/KXPTouchPriority.h"
#include "player/objects/KXPAnimationObject.h"
#include "player/objects/buttons/KXPObjectButton.h"
#include "player/services/KXPurchaseBridge.h"
#include "player/services/KXServices.h"
#include "player/sound/KXSound.h"
#include "player/store/KXPCharacterUnlock.h"
#include "player/store/KXPScoreTable.h"
#include "player/store/KXPSettingsController.h"

using namespace cocos2d;

namespace {

constexpr float kPriceLabelScale = 0.9f;
constexpr float kPriceLabelOffset = 30.0f;
constexpr float kNameLabelOffset = 20.0f;
constexpr float kSettleKeep = 0.7f;
constexpr float kSettlePull = 0.3f;
constexpr float kOffsetSmoothing = 0.25f;
constexpr float kPulseSpeed = 3.0f;
constexpr float kPulseDepth = 20.0f;

std::shared_ptr<KXModelAnimation> defaultAnimationOf(const KXModelAssetCharacter& character) {
    const KXAttributeAnimation* attribute = character.defaultAnimationAttribute();
    return attribute != nullptr ? attribute->value() : nullptr;
}

std::shared_ptr<KXModelObject> frameObject(const KXModelAnimation& animation, unsigned int index) {
    return modelKindCast<KXModelObject>(animation.frame(index));
}

CCSprite* tinted(CCSprite* sprite, GLubyte tint) {
    if (sprite != nullptr) {
        sprite->setColor(ccc3(tint, tint, tint));
    }
    return sprite;
}

// A menu item over three pictures of the frame's sprites, posed as the frame at its start. One
// reference of each picture is handed over to the item.
CCMenuItemSprite* itemOfFrame(const KXModelObject& frame, CCObject* target, SEL_MenuHandler handler) {
    const std::shared_ptr<KXModelSpriteContainer> sprites = frame.spriteContainer();
    CCSprite* normal = sprites ? sprites->getSprite(1.0f, true) : nullptr;
    if (normal == nullptr) {
        normal = createColorSprite(
            CCSize(KXPObjectButton::kPlaceholderSide, KXPObjectButton::kPlaceholderSide), ccc4(0, 0, 0, 0));
        normal->retain();
    }
    CCSprite* selected =
        sprites ? tinted(sprites->getSprite(1.0f, true), KXPObjectButton::kSelectedTint) : nullptr;
    CCSprite* disabled =
        sprites ? tinted(sprites->getSprite(1.0f, true), KXPObjectButton::kDisabledTint) : nullptr;
    CCMenuItemSprite* item = CCMenuItemSprite::create(normal, selected, disabled, target, handler);
    CC_SAFE_RELEASE(normal);
    CC_SAFE_RELEASE(selected);
    CC_SAFE_RELEASE(disabled);
    item->setPosition(frame.animatedPosition(0.0f, 0));
    item->setRotation(frame.animatedRotation(0.0f, 0));
    return item;
}

} // namespace

KXPObjectCharacterSelector*
KXPObjectCharacterSelector::create(const std::shared_ptr<KXModelObjectCharacterSelector>& model) {
    if (!model) {
        return nullptr;
    }
    auto* selector = new KXPObjectCharacterSelector();
    selector->init(model);
    selector->autorelease();
    selector->setPosition(model->randomizedPosition());
    selector->setRotation(model->randomizedRotation());
    return selector;
}

KXPObjectCharacterSelector::~KXPObjectCharacterSelector() {
    // Normally gone with onExit; a selector that never left the stage cleanly is taken out here.
    if (m_touchRegistered) {
        CCDirector::sharedDirector()->getTouchDispatcher()->removeDelegate(this);
    }
    delete m_unlockYesSound;
    delete m_unlockNoSound;
}

bool KXPObjectCharacterSelector::init(const std::shared_ptr<KXModelObjectCharacterSelector>& model) {
    m_model = model;
    makeLabels();
    makeIcons();

    const int stored = KXPSettingsController::shared()->selectedCharacter();
    m_knownSelection = stored;
    m_shownIndex = clampedIndex(stored);
    // A stored selection outside the list is shown clamped but stays stored as it is until the
    // player picks a character.
    if (m_shownIndex == stored) {
        select(m_shownIndex);
    } else {
        showLabels(m_shownIndex);
    }

    makeSuggestionButton();
    makeUnlockButton();
    makeSounds();
    refreshIcons();
    updateUnlockButton();
    return true;
}

void KXPObjectCharacterSelector::makeLabels() {
    const std::shared_ptr<KXModelFont> font = getModel<KXModelFont>(m_model->labelNameValue());
    if (!font) {
        return;
    }
    const float spacing = m_model->labelVerticalSpacing();
    m_priceLabel = font->createLabel();
    if (m_priceLabel == nullptr) {
        return;
    }
    m_priceLabel->setAlignment(kCCTextAlignmentCenter);
    m_priceLabel->setAnchorPoint(CCPoint(0.5f, 0.5f));
    m_priceLabel->setScale(kPriceLabelScale);
    m_priceLabel->setPosition(CCPoint(0.0f, -kPriceLabelOffset - spacing));
    addChild(m_priceLabel);
    m_priceLabel->release();

    if (m_model->labelVisibility()) {
        m_nameLabel = font->createLabel();
        if (m_nameLabel != nullptr) {
            m_nameLabel->setAlignment(kCCTextAlignmentCenter);
            m_nameLabel->setAnchorPoint(CCPoint(0.5f, 0.5f));
            m_nameLabel->setPosition(CCPoint(0.0f, spacing + kNameLabelOffset));
            addChild(m_nameLabel);
            m_nameLabel->release();
        }
    }
}

KXPAnimationObject* KXPObjectCharacterSelector::makeIcon(const std::shared_ptr<KXModelAnimation>& animation) {
    if (!animation || animation->frameCount() == 0) {
        return nullptr;
    }
    auto* icon = new KXPAnimationObject(animation, nullptr, false);
    icon->autorelease();
    icon->setOpacityFactor(m_model->animatedOpacity(0.0f, 0));
    addChild(icon, m_model->zDepth());
    return icon;
}

void KXPObjectCharacterSelector::makeIcons() {
    for (const std::shared_ptr<KXModelAssetCharacter>& character : getModels<KXModelAssetCharacter>()) {
        Entry entry;
        const auto icons = getFirstChild<KXModelComponentCharacterIcon>(*character);
        if (icons) {
            entry.regular = makeIcon(icons->regularIcon());
            if (entry.regular == nullptr) {
                entry.regular = makeIcon(defaultAnimationOf(*character));
            }
            entry.selected = makeIcon(icons->selectedIcon());
            entry.locked = makeIcon(icons->lockedIcon());
        } else {
            entry.regular = makeIcon(defaultAnimationOf(*character));
        }
        m_entries.push_back(entry);
    }
}

CCMenu* KXPObjectCharacterSelector::makeButtonMenu() {
    CCMenu* menu = CCMenu::create(true);
    menu->setAnchorPoint(CCPoint(0.0f, 0.0f));
    menu->setPosition(CCPoint(0.0f, 0.0f));
    menu->setTouchPriority(touchPriorityForDepth(m_model->zDepth()));
    addChild(menu);
    return menu;
}

void KXPObjectCharacterSelector::makeSuggestionButton() {
    const std::shared_ptr<KXModelAnimation> animation = m_model->unlockSuggestion();
    const std::shared_ptr<KXModelObject> frame = animation ? frameObject(*animation, 0) : nullptr;
    if (!frame) {
        return;
    }
    CCMenu* menu = makeButtonMenu();
    CCMenuItemSprite* item =
        itemOfFrame(*frame, this, menu_selector(KXPObjectCharacterSelector::suggestionButtonPressed));
    m_suggestionScale = frame->animatedScale(0.0f, 0);
    item->setScaleX(m_suggestionScale.x);
    item->setScaleY(m_suggestionScale.y);
    menu->addChild(item);
    m_suggestionButton = item;
    m_suggestionButton->setVisible(false);
}

void KXPObjectCharacterSelector::makeUnlockButton() {
    const std::shared_ptr<KXModelAnimation> animation = m_model->unlockButton();
    if (!animation) {
        return;
    }
    const SEL_MenuHandler press = menu_selector(KXPObjectCharacterSelector::unlockButtonPressed);
    if (animation->frameCount() == 1) {
        const std::shared_ptr<KXModelObject> frame = frameObject(*animation, 0);
        if (!frame) {
            return;
        }
        CCMenu* menu = makeButtonMenu();
        CCMenuItemSprite* item = itemOfFrame(*frame, this, press);
        const CCPoint scale = frame->animatedScale(0.0f, 0);
        item->setScaleX(scale.x);
        item->setScaleY(scale.y);
        menu->addChild(item);
        m_unlockButton = item;
        return;
    }

    // An animated face with a clear item over its bounds.
    m_unlockButtonFace = new KXPAnimationObject(animation, nullptr, false);
    m_unlockButtonFace->autorelease();
    addChild(m_unlockButtonFace);
    const CCRect bounds = m_unlockButtonFace->contentRect();
    CCMenu* menu = makeButtonMenu();
    menu->setPosition(bounds.origin);
    CCSprite* normal = createColorSprite(bounds.size, ccc4(0, 0, 0, 0));
    CCSprite* selected = createColorSprite(bounds.size, ccc4(0, 0, 0, 0));
    CCMenuItemSprite* item = CCMenuItemSprite::create(normal, selected, nullptr, this, press);
    std::shared_ptr<KXModelObject> top;
    for (const std::shared_ptr<KXModel>& model : animation->frames()) {
        const auto frame = modelKindCast<KXModelObject>(model);
        if (frame && (!top || frame->zDepth() > top->zDepth())) {
            top = frame;
        }
    }
    if (top) {
        item->setContentSize(top->contentSize(0.0f));
        item->setPosition(top->animatedPosition(0.0f, 0) - bounds.origin);
    }
    menu->addChild(item);
    m_unlockButton = item;
}

void KXPObjectCharacterSelector::makeSounds() {
    if (const auto sound = m_model->unlockYes()) {
        m_unlockYesSound = new KXSound(sound, KXSound::kInterfaceGroup);
        // Sounds may be deleted for everyone at once; the selector then has none.
        m_unlockYesSound->setReleaseHook([this] { m_unlockYesSound = nullptr; });
    }
    if (const auto sound = m_model->unlockNo()) {
        m_unlockNoSound = new KXSound(sound, KXSound::kInterfaceGroup);
        m_unlockNoSound->setReleaseHook([this] { m_unlockNoSound = nullptr; });
    }
}

void KXPObjectCharacterSelector::onEnter() {
    CCNode::onEnter();
    if (!m_touchRegistered) {
        CCDirector::sharedDirector()->getTouchDispatcher()->addTargetedDelegate(this, 0, false);
        m_touchRegistered = true;
    }
}

void KXPObjectCharacterSelector::onExit() {
    if (m_touchRegistered) {
        CCDirector::sharedDirector()->getTouchDispatcher()->removeDelegate(this);
        m_touchRegistered = false;
    }
    m_dragging = false;
    CCNode::onExit();
}

int KXPObjectCharacterSelector::clampedIndex(int index) const {
    if (m_entries.empty()) {
        return -1;
    }
    return std::max(0, std::min(index, entryCount() - 1));
}

KXPAnimationObject* KXPObjectCharacterSelector::regularIcon(int index) const {
    return index >= 0 && index < entryCount() ? m_entries[static_cast<size_t>(index)].regular : nullptr;
}
KXPAnimationObject* KXPObjectCharacterSelector::selectedIcon(int index) const {
    return index >= 0 && index < entryCount() ? m_entries[static_cast<size_t>(index)].selected : nullptr;
}
KXPAnimationObject* KXPObjectCharacterSelector::lockedIcon(int index) const {
    return index >= 0 && index < entryCount() ? m_entries[static_cast<size_t>(index)].locked : nullptr;
}

bool KXPObjectCharacterSelector::isOnShow() {
    for (CCNode* node = this; node != nullptr; node = node->getParent()) {
        if (!node->isVisible()) {
            return false;
        }
    }
    return true;
}

bool KXPObjectCharacterSelector::hitBoxContains(const CCPoint& point) const {
    const CCPoint scale = m_model->animatedScale(0.0f, 0);
    const float halfWidth = std::fabs(kHitBoxSide * scale.x) * 0.5f;
    const float halfHeight = std::fabs(kHitBoxSide * scale.y) * 0.5f;
    return std::fabs(point.x) <= halfWidth && std::fabs(point.y) <= halfHeight;
}

bool KXPObjectCharacterSelector::ccTouchBegan(CCTouch* touch, CCEvent* /*event*/) {
    if (!isOnShow() || m_entries.empty()) {
        return false;
    }
    m_velocity = 0.0f;
    return hitBoxContains(convertToNodeSpace(touch->getLocation()));
}

void KXPObjectCharacterSelector::ccTouchMoved(CCTouch* touch, CCEvent* /*event*/) {
    if (!isOnShow()) {
        return;
    }
    const CCPoint location = convertToNodeSpace(touch->getLocation());
    if (hitBoxContains(location)) {
        m_dragging = true;
    }
    if (m_dragging) {
        const CCPoint previous = convertToNodeSpace(touch->getPreviousLocation());
        const float move = (location.x - previous.x) * kDragFactor;
        m_targetOffset += move;
        m_velocity = std::max(-kMaxVelocity, std::min(move, kMaxVelocity));
    }
    refreshIcons();
}

void KXPObjectCharacterSelector::ccTouchEnded(CCTouch* touch, CCEvent* /*event*/) {
    if (!isOnShow()) {
        return;
    }
    const float spread = m_model->spread();
    // Without a usable spacing of the icons a tap leads nowhere.
    if (!m_dragging && spread != 0.0f && std::isfinite(spread)) {
        const float x = convertToNodeSpace(touch->getLocation()).x;
        const float reach = x <= 0.0f ? x - 0.5f * spread : x + 0.5f * spread;
        const long long index = static_cast<long long>(m_shownIndex) + kx::truncateToInt(reach / spread);
        if (index >= 0 && index < entryCount()) {
            m_shownIndex = static_cast<int>(index);
            select(m_shownIndex);
        }
    }
    m_dragging = false;
    refreshIcons();
}

void KXPObjectCharacterSelector::ccTouchCancelled(CCTouch* /*touch*/, CCEvent* /*event*/) {
    m_dragging = false;
    refreshIcons();
}

void KXPObjectCharacterSelector::setSelectedIndex(int index) {
    if (index < 0 || index >= entryCount()) {
        return;
    }
    m_shownIndex = index;
    select(index);
}

void KXPObjectCharacterSelector::showLabels(int index) {
    const std::shared_ptr<KXModelAssetCharacter> character = KXPCharacterUnlock::character(index);
    if (m_priceLabel != nullptr) {
        const bool priced = character && character->price() != 0.0f &&
                            character->purchaseMethod() == KXPCharacterUnlock::kCoins;
        m_priceLabel->setVisible(priced);
        if (priced) {
            char text[32];
            std::snprintf(text, sizeof text, "%d", kx::truncateToInt(character->price()));
            m_priceLabel->setString(text);
        }
    }
    if (m_nameLabel != nullptr) {
        m_nameLabel->setString(character ? character->name().c_str() : "");
    }
}

void KXPObjectCharacterSelector::select(int index) {
    if (index < 0 || index >= entryCount()) {
        return;
    }
    showLabels(index);
    if (KXPCharacterUnlock::isUnlocked(index)) {
        KXPSettingsController* settings = KXPSettingsController::shared();
        settings->setSelectedCharacter(index);
        m_knownSelection = settings->selectedCharacter();
    }
}

void KXPObjectCharacterSelector::playSound(KXSound* sound) {
    if (sound != nullptr) {
        sound->play(false, false);
    }
}

void KXPObjectCharacterSelector::unlockCharacter(int index) {
    const std::shared_ptr<KXModelAssetCharacter> character = KXPCharacterUnlock::character(index);
    if (!character) {
        return;
    }
    const std::string& method = character->purchaseMethod();
    if (method == KXPCharacterUnlock::kCoins) {
        if (KXPCharacterUnlock::payWithCoins(*character)) {
            grant(index);
        } else {
            playSound(m_unlockNoSound);
            KXServices::shared()->setCallback(KXModelGeneralSettings::shared()->notEnoughCurrencyText(),
                                              nullptr, nullptr);
        }
    } else if (method == KXPCharacterUnlock::kStore) {
        if (!character->storeIdentifier().empty()) {
            KXPurchaseBridge::shared()->setCallback(
                this, purchase_selector(KXPObjectCharacterSelector::purchaseDidComplete));
            KXPurchaseBridge::shared()->purchase(character->storeIdentifier());
        }
    } else if (method == KXPCharacterUnlock::kRewardedVideo) {
        m_pendingIndex = index;
        KXAdController::shared()->setRewardedVideoCallback(
            this, callfunc_selector(KXPObjectCharacterSelector::grantPending));
        KXAdController::shared()->showRewardedVideo(character->adNetwork());
    } else if (method == KXPCharacterUnlock::kWebLink) {
        if (!character->webLink().empty()) {
            KXServices::shared()->openUrl(character->webLink());
        }
        m_pendingIndex = index;
        m_countdownRunning = true;
        m_countdown = kWebLinkFrames;
    }
    refreshIcons();
}

void KXPObjectCharacterSelector::purchaseDidComplete(const std::string& productIdentifier) {
    debugLog("[KXPObjectButtonPurchase] purchase did complete: %s", productIdentifier.c_str());
    // The product is the shown character's: other characters sold under it are not given away.
    for (const std::shared_ptr<KXModelAssetCharacter>& character : getModels<KXModelAssetCharacter>()) {
        if (character->purchaseMethod() == KXPCharacterUnlock::kStore &&
            character->storeIdentifier() == productIdentifier) {
            grant(m_shownIndex);
            break;
        }
    }
    refreshIcons();
}

void KXPObjectCharacterSelector::grantPending() {
    // Once only: the ad network keeps calling the last callback it was given.
    grant(m_pendingIndex);
    m_pendingIndex = -1;
    refreshIcons();
}

void KXPObjectCharacterSelector::grant(int index) {
    if (index < 0 || index >= entryCount()) {
        return;
    }
    KXPCharacterUnlock::grant(index);
    m_knownSelection = KXPSettingsController::shared()->selectedCharacter();
    // The character of a link or a video may have left the middle meanwhile: it comes back.
    m_shownIndex = index;
    playSound(m_unlockYesSound);
}

void KXPObjectCharacterSelector::unlockButtonPressed(CCObject* /*sender*/) {
    unlockCharacter(m_shownIndex);
}

void KXPObjectCharacterSelector::suggestionButtonPressed(CCObject* /*sender*/) {
    if (m_suggestion < 0) {
        return;
    }
    m_shownIndex = m_suggestion;
    unlockCharacter(m_shownIndex);
    m_suggestion = kNoMoreSuggestions;
    select(m_shownIndex);
}

void KXPObjectCharacterSelector::refreshIcons() {
    for (int i = 0; i < entryCount(); ++i) {
        const Entry& entry = m_entries[static_cast<size_t>(i)];
        if (!KXPCharacterUnlock::isUnlocked(i)) {
            if (entry.selected != nullptr) {
                entry.selected->setVisible(false);
            }
            if (entry.locked != nullptr) {
                entry.locked->setVisible(true);
                if (entry.regular != nullptr) {
                    entry.regular->setVisible(false);
                }
            } else if (entry.regular != nullptr) {
                entry.regular->setVisible(true);
            }
            continue;
        }
        if (entry.selected == nullptr) {
            if (entry.regular != nullptr) {
                entry.regular->setVisible(true);
            }
        } else {
            entry.selected->setVisible(i == m_shownIndex);
            if (entry.regular != nullptr) {
                entry.regular->setVisible(!entry.selected->isVisible());
            }
        }
        if (entry.locked != nullptr) {
            entry.locked->setVisible(false);
        }
    }
}

void KXPObjectCharacterSelector::update(float dt) {
    m_clock += dt;

    if (m_countdownRunning && --m_countdown <= 0) {
        m_countdownRunning = false;
        grantPending();
    }

    const int stored = KXPSettingsController::shared()->selectedCharacter();
    if (stored != m_knownSelection) {
        m_knownSelection = stored;
        m_shownIndex = clampedIndex(stored);
        // Selected elsewhere (an unlock button, a reset): the labels name the character now shown.
        showLabels(m_shownIndex);
        refreshIcons();
    }

    const float spread = m_model->spread();
    const bool fast = std::fabs(m_velocity) > kGlideVelocity;
    if (!m_dragging) {
        if (fast) {
            m_velocity *= kGlideFriction;
            m_targetOffset += m_velocity;
            if (m_shownIndex == 0 || m_shownIndex == entryCount() - 1) {
                m_velocity *= kEndFriction;
            }
        } else {
            m_targetOffset =
                kSettleKeep * m_currentOffset - kSettlePull * spread * static_cast<float>(m_shownIndex);
        }
    }
    m_currentOffset = kOffsetSmoothing * m_targetOffset + (1.0f - kOffsetSmoothing) * m_currentOffset;

    const float opacity = m_model->animatedOpacity(m_clock, m_animationKey);
    const float half = static_cast<float>(kx::truncateToInt(0.5f * spread));
    for (int i = 0; i < entryCount(); ++i) {
        const float x = spread * static_cast<float>(i) + m_currentOffset;
        const Entry& entry = m_entries[static_cast<size_t>(i)];
        for (KXPAnimationObject* icon : {entry.regular, entry.selected, entry.locked}) {
            if (icon != nullptr) {
                icon->setOpacityFactor(opacity);
                icon->setPosition(CCPoint(x, 0.0f));
                icon->update(dt);
            }
        }
        if (-half < x && x < half && (m_dragging || fast)) {
            m_shownIndex = i;
            select(i);
            refreshIcons();
        }
    }

    updateUnlockButton();
    updateSuggestion(dt);
    setPosition(m_model->animatedPosition(m_clock, m_animationKey));
}

void KXPObjectCharacterSelector::updateUnlockButton() {
    const std::shared_ptr<KXModelAssetCharacter> character = KXPCharacterUnlock::character(m_shownIndex);
    const bool locked = character && !KXPCharacterUnlock::isUnlocked(m_shownIndex);
    if (m_unlockButton != nullptr) {
        m_unlockButton->setVisible(locked);
    }
    if (m_unlockButtonFace != nullptr) {
        m_unlockButtonFace->setVisible(locked);
    }
    if (m_priceLabel != nullptr) {
        m_priceLabel->setVisible(locked && character->price() != 0.0f &&
                                 character->purchaseMethod() == KXPCharacterUnlock::kCoins);
    }
}

void KXPObjectCharacterSelector::updateSuggestion(float dt) {
    if (m_suggestion >= 0 && KXPCharacterUnlock::isUnlocked(m_suggestion)) {
        m_suggestion = kNoSuggestionYet;
    }
    if (m_suggestion == kNoSuggestionYet) {
        const float coins = static_cast<float>(worldScores("").coins.total);
        std::vector<int> candidates;
        int index = 0;
        for (const std::shared_ptr<KXModelAssetCharacter>& character : getModels<KXModelAssetCharacter>()) {
            if (character->purchaseMethod() == KXPCharacterUnlock::kCoins &&
                !KXPCharacterUnlock::isUnlocked(index) && character->price() <= coins) {
                candidates.push_back(index);
            }
            ++index;
        }
        if (!candidates.empty()) {
            m_suggestion = candidates[static_cast<size_t>(std::rand()) % candidates.size()];
        }
    }
    if (m_suggestionButton == nullptr) {
        return;
    }
    if (m_suggestion < 0) {
        m_suggestionButton->setVisible(false);
        return;
    }
    m_suggestionButton->setVisible(true);
    m_suggestionPhase += kPulseSpeed * dt;
    const float pulse = std::sin(m_suggestionPhase) / kPulseDepth + 1.0f;
    m_suggestionButton->setScaleX(m_suggestionScale.x * pulse);
    m_suggestionButton->setScaleY(m_suggestionScale.y * pulse);
}
