#include "player/objects/buttons/KXPObjectButtonSwitch.h"

#include "model/classes/KXModelObjectButton.h"
#include "player/base/KXPTrace.h"
#include "player/input/KXPInputController.h"
#include "player/store/KXPSwitchStateTable.h"

void KXPObjectButtonSwitch::setModel(const std::shared_ptr<KXModelObjectButton>& model) {
    KXPObjectButton::setModel(model);
    readState();
}

void KXPObjectButtonSwitch::readState() {
    if (!m_model) {
        return;
    }
    const KXPSwitchStateMap& table = switchStateTable();
    const auto entry = table.find(m_model);
    if (entry != table.end()) {
        m_on = entry->second;
    }
}

void KXPObjectButtonSwitch::selected() {
    cocos2d::CCMenuItemSprite::selected();
    // Another button of the same model may have flipped it meanwhile.
    readState();
    if (isEnabled() && m_model) {
        playSound(m_model->clickSound());
    }
    m_on = !m_on;
    kxTrace("buttons", "switch name=%s on=%d", m_model ? m_model->name().c_str() : "", m_on ? 1 : 0);
    // The listeners may take the screen down; the button stays alive until it has stored its state.
    cocos2d::CCObject* self = this;
    self->retain();
    KXPInputController::shared()->dispatch(
        this, m_on ? KXPInputController::kActionButtonOn : KXPInputController::kActionButtonOff, 0);
    if (m_model) {
        switchStateTable()[m_model] = m_on;
    }
    self->release();
}

void KXPObjectButtonSwitch::unselected() {
    cocos2d::CCMenuItemSprite::unselected();
    if (isEnabled() && m_model) {
        playSound(m_model->releaseSound());
    }
}
