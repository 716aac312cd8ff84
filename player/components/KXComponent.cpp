#include "player/components/KXComponent.h"

#include "model/classes/KXModelComponent.h"

KXComponent::KXComponent() = default;

KXComponent::~KXComponent() = default;

void KXComponent::update(float /*dt*/) {}

void KXComponent::setModel(const std::shared_ptr<KXModelComponent>& model) {
    m_model = model;
}

void KXComponent::setOwner(KXPObject* owner) {
    m_owner = owner;
}

void KXComponent::ownerStateChanged() {}

void KXComponent::reset() {}

void KXComponent::setEnabled(bool enabled) {
    m_enabled = enabled;
}

bool KXComponent::isEnabled() const {
    return m_enabled;
}
