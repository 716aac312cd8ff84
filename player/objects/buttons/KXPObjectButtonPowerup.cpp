#include "player/objects/buttons/KXPObjectButtonPowerup.h"

#include "model/KXNumeric.h"
#include "model/classes/KXAttributeBinding.h"
#include "model/classes/KXModelAssetPowerup.h"
#include "model/classes/KXModelFont.h"
#include "model/classes/KXModelObjectButtonPowerup.h"
#include "model/classes/KXModelQueries.h"
#include "player/app/KXPScreensController.h"
#include "player/screens/KXPScreenUi.h"
#include "player/store/KXPScoreTable.h"
#include "player/store/KXPSettingsController.h"

#include <cstdio>
#include <utility>

using namespace cocos2d;

KXPObjectButtonPowerup::~KXPObjectButtonPowerup() = default;

uint32_t KXPObjectButtonPowerup::powerupSelectionId(const KXModelObjectButton& model) {
    // The one reading of the selection: the count shown, the use and the refills agree on it.
    return leadingId(model.action());
}

std::string KXPObjectButtonPowerup::refillText(int seconds) {
    const int hours = seconds / 3600;
    const int minutes = (seconds % 3600) / 60;
    const int rest = seconds - (hours * 60 + minutes) * 60;
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", hours, minutes, rest);
    return text;
}

std::shared_ptr<KXModelObjectButtonPowerup> KXPObjectButtonPowerup::powerupModel() const {
    return modelCast<KXModelObjectButtonPowerup>(m_model);
}

CCLabelBMFont* KXPObjectButtonPowerup::makeLabel(float rise) {
    const std::shared_ptr<KXModelObjectButtonPowerup> model = powerupModel();
    const std::vector<std::shared_ptr<KXModelFont>> fonts = getModels<KXModelFont>();
    CCLabelBMFont* label = fonts.empty() ? nullptr : fonts.front()->createLabel();
    if (label == nullptr) {
        return nullptr;
    }
    const CCSize size = getContentSize();
    const CCPoint offset = model->labelOffset();
    label->setAnchorPoint(ccp(0.5f, 0.0f));
    label->setAlignment(kCCTextAlignmentCenter);
    label->setScale(model->labelScale());
    label->setPosition(ccp(size.width * 0.5f + offset.x,
                           size.height * 0.5f + offset.y + rise - model->labelVerticalSpacing()));
    addChild(label);
    // The font hands over a reference of its own; the child list keeps the label from here.
    label->release();
    return label;
}

void KXPObjectButtonPowerup::setModel(const std::shared_ptr<KXModelObjectButton>& model) {
    KXPObjectButton::setModel(model);
    const std::shared_ptr<KXModelObjectButtonPowerup> own = powerupModel();
    if (!own) {
        return;
    }
    if (!own->unlimitedUse() && m_countLabel == nullptr) {
        m_countLabel = makeLabel(0.0f);
    }
    const uint32_t id = powerupSelectionId(*own);
    m_powerupAsset = id > 0 ? ::getModel<KXModelAssetPowerup>(id) : nullptr;
    KXPSettingsController* settings = KXPSettingsController::shared();
    if (m_powerupAsset && m_countLabel != nullptr) {
        char text[16];
        m_shownCount = settings->inventoryCount(m_powerupAsset);
        std::snprintf(text, sizeof text, "%d", m_shownCount);
        m_countLabel->setString(text);
    }
    if (own->refillTimeout() > 0.0f) {
        if (m_refillLabel == nullptr) {
            m_refillLabel = makeLabel(kRefillLabelRise);
        }
        if (m_powerupAsset &&
            static_cast<float>(settings->inventoryCount(m_powerupAsset)) < own->maxRefill()) {
            settings->startRefill(m_powerupAsset->id(), kx::truncateToInt(own->refillTimeout()),
                                  kx::truncateToInt(own->maxRefill()));
        }
    }
    update(0.0f);
}

bool KXPObjectButtonPowerup::passesDistanceGate() const {
    const std::shared_ptr<KXModelObjectButtonPowerup> model = powerupModel();
    const float threshold = model->visibilityThreshold();
    if (!(threshold > 0.0f) || KXPScreensController::shared()->currentScreenScene() == nullptr) {
        return true;
    }
    const KXPScoreDistance& distance = currentWorldScores().distance;
    return !(threshold / 100.0f * distance.best > distance.session);
}

void KXPObjectButtonPowerup::update(float dt) {
    // Held to the end: the base update's touch emulation may use the powerup, and what that does
    // may take this button's screen down.
    CCObject* self = this;
    self->retain();
    KXPObjectButton::update(dt);
    showStock();
    self->release();
}

void KXPObjectButtonPowerup::showStock() {
    const std::shared_ptr<KXModelObjectButtonPowerup> model = powerupModel();
    if (!model) {
        return;
    }
    if (!passesDistanceGate()) {
        setVisible(false);
        return;
    }
    setVisible(true);
    if (!m_powerupAsset) {
        return;
    }
    KXPSettingsController* settings = KXPSettingsController::shared();
    const int count = settings->inventoryCount(m_powerupAsset);
    if (count < 1 && !model->unlimitedUse()) {
        setEnabled(false);
    } else {
        KXPScreenUi* ui = KXPScreensController::shared()->currentUi();
        if (ui == nullptr || ui->controlsEnabled()) {
            setEnabled(true);
        }
    }
    if (m_countLabel != nullptr && count != m_shownCount) {
        char text[16];
        std::snprintf(text, sizeof text, "%d", count);
        m_countLabel->setString(text);
        m_shownCount = count;
    }
    if (m_refillLabel != nullptr) {
        if (static_cast<float>(count) < model->maxRefill()) {
            std::string text = refillText(settings->refillTimeLeft(m_powerupAsset->id()));
            if (text != m_shownRefill) {
                m_refillLabel->setString(text.c_str());
                m_shownRefill = std::move(text);
            }
            m_refillLabel->setVisible(true);
        } else {
            m_refillLabel->setVisible(false);
        }
    }
}

void KXPObjectButtonPowerup::selected() {
    KXPObjectButton::selected();
    const std::shared_ptr<KXModelObjectButtonPowerup> model = powerupModel();
    if (model && model->forceActionOnPress()) {
        KXPObjectButton::activate();
    }
}

void KXPObjectButtonPowerup::activate() {
    const std::shared_ptr<KXModelObjectButtonPowerup> model = powerupModel();
    if (!model || !model->forceActionOnPress()) {
        KXPObjectButton::activate();
    }
}

void KXPObjectButtonPowerup::registerRefill() {
    const std::shared_ptr<KXModelObjectButtonPowerup> model = powerupModel();
    if (model && model->refillTimeout() > 0.0f && m_powerupAsset) {
        KXPSettingsController::shared()->startRefill(m_powerupAsset->id(),
                                                     kx::truncateToInt(model->refillTimeout()),
                                                     kx::truncateToInt(model->maxRefill()));
    }
}
