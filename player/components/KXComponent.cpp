#include "player/components/KXComponent.h"

#include "model/classes/KXModelCasts.h"
#include "model/classes/KXModelComponent.h"
#include "model/classes/KXModelObjectButtonControl.h"
#include "model/classes/KXModelObjectButtonSwitch.h"
#include "model/classes/KXModelObjectSwipeControl.h"
#include "player/base/KXPTrace.h"
#include "player/input/KXPInputController.h"
#include "player/objects/KXObjectModelHolder.h"
#include "player/objects/assets/KXPObjectAsset.h"
#include "player/sound/KXSound.h"

#include <vector>

using namespace cocos2d;

KXComponentTrigger KXComponentTrigger::parse(const std::string& text) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (parts.size() < 3) {
        const size_t dash = text.find('-', start);
        parts.push_back(text.substr(start, dash == std::string::npos ? std::string::npos : dash - start));
        if (dash == std::string::npos) {
            break;
        }
        start = dash + 1;
    }
    KXComponentTrigger trigger;
    trigger.kind = parts[0];
    if (parts.size() >= 2) {
        trigger.name = parts[1];
        trigger.digit = parts.size() >= 3 ? parts[2] : parts[1];
    }
    return trigger;
}

KXComponent::KXComponent() = default;

KXComponent::~KXComponent() {
    // The controller may be gone already (the game field retires its own).
    KXPInputController* input = KXPInputController::existing();
    if (m_subscribedToInput && input != nullptr) {
        input->unsubscribe(this);
    }
}

void KXComponent::update(float /*dt*/) {}

void KXComponent::setModel(const std::shared_ptr<KXModelComponent>& model) {
    m_model = model;
}

void KXComponent::setOwner(KXPObject* owner) {
    m_owner = owner;
}

void KXComponent::ownerStateChanged() {}

void KXComponent::reset() {}

void KXComponent::fixtureGoing(b2Fixture* /*fixture*/) {}

void KXComponent::setEnabled(bool enabled) {
    m_enabled = enabled;
}

bool KXComponent::isEnabled() const {
    return m_enabled;
}

void KXComponent::subscribeInput(int event, SEL_CallFuncO handler) {
    KXPInputController::shared()->subscribe(event, this, handler, 0);
    m_subscribedToInput = true;
}

std::shared_ptr<KXModel> KXComponent::senderModel(CCObject* sender) {
    return sender != nullptr ? KXObjectModelHolder::modelOf(sender) : nullptr;
}

std::shared_ptr<KXModel> KXComponent::senderControlModel(CCObject* sender) {
    std::shared_ptr<KXModel> model = senderModel(sender);
    if (modelCast<KXModelObjectButtonControl>(model) || modelCast<KXModelObjectButtonSwitch>(model) ||
        modelCast<KXModelObjectSwipeControl>(model)) {
        return model;
    }
    return nullptr;
}

void KXComponent::subscribeTrigger(const KXComponentTrigger& trigger, SEL_CallFuncO pressed,
                                   SEL_CallFuncO released) {
    if (trigger.kind == kTriggerButton || trigger.kind == kTriggerSwitch) {
        const bool onIsPress = trigger.digit == "0";
        subscribeInput(11, onIsPress ? pressed : released);
        subscribeInput(12, onIsPress ? released : pressed);
    } else if (trigger.kind == kTriggerSwipe && !trigger.digit.empty()) {
        const char direction = trigger.digit[0];
        if (direction >= '0' && direction <= '3') {
            subscribeInput(13 + (direction - '0'), pressed);
        }
    }
}

bool KXComponent::senderMatches(CCObject* sender, const KXComponentTrigger& trigger) {
    const std::shared_ptr<KXModel> model = senderControlModel(sender);
    return model && model->name() == trigger.name;
}

void KXComponent::traceEvent(const char* kind, const char* event, const std::string& more) const {
    if (!kxTraceEnabled("components")) {
        return;
    }
    const auto ownerModel = m_owner != nullptr ? m_owner->getModel() : nullptr;
    kxTrace("components", "component %s %s owner=%s id=%u%s", kind, event,
            ownerModel ? ownerModel->name().c_str() : "", m_owner != nullptr ? m_owner->traceId() : 0u,
            more.c_str());
}

KXPObjectAsset* KXComponent::assetOwner() const {
    return ccNodeAs<KXPObjectAsset>(m_owner);
}

void KXComponent::makeSound(const std::shared_ptr<KXModelSound>& model, KXSound*& slot) {
    if (!model) {
        return;
    }
    deleteSound(slot);
    slot = new KXSound(model, KXSound::kGameObjectGroup);
    KXSound** where = &slot;
    slot->setReleaseHook([where] { *where = nullptr; });
}

void KXComponent::deleteSound(KXSound*& slot) {
    delete slot;
    slot = nullptr;
}
