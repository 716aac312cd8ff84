#include "model/KXBaseAttribute.h"

#include <algorithm>

#include "base/CCDictionary.h"
#include "base/CCString.h"
#include "model/KXMessagePackMap.h"
#include "model/KXModel.h"
#include "model/KXModelController.h"
#include "model/KXStoredKeys.h"

KXBaseAttribute::KXBaseAttribute(const std::string& name, KXModel* owner, uint32_t flags)
    : m_name(name), m_flags(flags) {
    if (owner != nullptr) {
        m_owner = owner;
        owner->adoptNewAttribute(this);
    }
}

KXBaseAttribute::KXBaseAttribute(const std::string& name, KXModel* owner, const KXBaseAttribute& source)
    : KXBaseAttribute(name, owner, source.m_flags) {
    m_connectionKind = source.m_connectionKind;
    if (m_connectionKind == KXAttributeConnectionOutput) {
        connect(source.connection(), true);
    }
}

KXBaseAttribute::~KXBaseAttribute() {
    disconnectAll(false);
    if (m_owner != nullptr) {
        KXModel* owner = m_owner;
        m_owner = nullptr;
        owner->removeAttribute(this);
    }
}

void KXBaseAttribute::registerKeys() const {
    if (connection() != nullptr) {
        KXMessagePackMap::registerKeyName("connectedModelId");
        KXMessagePackMap::registerKeyName("attributeName");
    }
}

void KXBaseAttribute::packValues(KXMessagePackMap& /*map*/) const {}

void KXBaseAttribute::unpackValues(const KXMessagePackMap& /*map*/) {}

void KXBaseAttribute::packConnections(KXMessagePackMap& map) const {
    const KXBaseAttribute* input = connection();
    if (input == nullptr) {
        return;
    }
    // An input without an owner cannot be named in the stored form.
    const uint32_t modelId = input->owner() != nullptr ? input->owner()->id() : 0;
    map.set("connectedModelId", modelId);
    map.set("attributeName", input->name());
}

void KXBaseAttribute::unpackConnections(const KXMessagePackMap& map) {
    if (m_connectionKind != KXAttributeConnectionOutput) {
        return;
    }
    uint32_t modelId = 0;
    map.get(kxkey::connectedModelId, modelId);
    if (modelId == 0) {
        return;
    }
    std::shared_ptr<KXModel> target = KXModelController::shared()->getModel(modelId);
    if (!target) {
        return;
    }
    std::string inputName;
    if (!map.get(kxkey::attributeName, inputName) || inputName.empty()) {
        return;
    }
    connectToInput(*target, inputName);
}

void KXBaseAttribute::connectToInput(const KXModel& target, const std::string& inputName) {
    for (KXBaseAttribute* candidate : target.attributes()) {
        if (candidate->connectionKind() == KXAttributeConnectionInput && candidate->name() == inputName) {
            connect(candidate, true);
            return;
        }
    }
}

KXBaseAttribute* KXBaseAttribute::clone(const std::string& name, KXModel* owner) const {
    return new KXBaseAttribute(name, owner, *this);
}

KXBaseAttribute* KXBaseAttribute::cloneForModel(KXModel* owner) const {
    return new KXBaseAttribute(m_name, owner, m_flags);
}

KXBaseAttribute* KXBaseAttribute::cloneWithName(const std::string& name) const {
    return new KXBaseAttribute(name, m_owner, m_flags);
}

void KXBaseAttribute::loadValueFromDictionary(cocos2d::CCObject* /*object*/) {}

void KXBaseAttribute::loadConnectionFromDictionary(cocos2d::CCObject* object) {
    auto* dictionary = dynamic_cast<cocos2d::CCDictionary*>(object);
    if (dictionary == nullptr || m_connectionKind != KXAttributeConnectionOutput) {
        return;
    }
    const uint32_t modelId = dictionary->valueForKey("connectedModelId")->uintValue();
    if (modelId == 0) {
        return;
    }
    std::shared_ptr<KXModel> target = KXModelController::shared()->getModel(modelId);
    if (!target) {
        return;
    }
    const std::string& inputName = dictionary->valueForKey("attributeName")->getString();
    if (inputName.empty()) {
        return;
    }
    connectToInput(*target, inputName);
}

cocos2d::CCDictionary* KXBaseAttribute::saveValueToDictionary() const {
    return cocos2d::CCDictionary::create();
}

cocos2d::CCDictionary* KXBaseAttribute::saveConnectionToDictionary() const {
    cocos2d::CCDictionary* dictionary = cocos2d::CCDictionary::create();
    const KXBaseAttribute* input = connection();
    if (input == nullptr) {
        return dictionary;
    }
    // Unsigned, so that an id above INT_MAX reads back as itself.
    const uint32_t modelId = input->owner() != nullptr ? input->owner()->id() : 0;
    dictionary->setObject(cocos2d::CCString::createWithFormat("%u", modelId), "connectedModelId");
    dictionary->setObject(cocos2d::CCString::create(input->name()), "attributeName");
    return dictionary;
}

std::vector<KXAnimationCurve*> KXBaseAttribute::animationCurves(int /*key*/) const {
    return {};
}

void KXBaseAttribute::setAnimationCurves(const std::vector<KXAnimationCurve*>& /*curves*/, int /*key*/) {}

std::shared_ptr<KXModel> KXBaseAttribute::referencedModel() const {
    return {};
}

void KXBaseAttribute::notifyChanged(int flag) {
    if (m_owner != nullptr) {
        m_owner->attributeChanged(this, flag);
    }
}

void KXBaseAttribute::setName(const std::string& name, bool silent) {
    m_name = name;
    if (!silent) {
        notifyChanged(0);
    }
}

void KXBaseAttribute::setOwner(KXModel* owner) {
    if (owner == m_owner) {
        return;
    }
    KXModel* oldOwner = m_owner;
    m_owner = nullptr;
    if (oldOwner != nullptr) {
        oldOwner->removeAttribute(this);
    }
    m_owner = owner;
    if (owner != nullptr) {
        owner->insertAttribute(this, -1);
    }
}

void KXBaseAttribute::setConnectionKind(KXAttributeConnectionKind kind, bool silent) {
    if (kind == m_connectionKind) {
        return;
    }
    disconnectAll(silent);
    m_connectionKind = kind;
}

void KXBaseAttribute::connect(KXBaseAttribute* other, bool silent) {
    if (other == nullptr || m_connectionKind == KXAttributeConnectionNone ||
        other->m_connectionKind == KXAttributeConnectionNone || other->m_connectionKind == m_connectionKind) {
        return;
    }
    if (m_connectionKind == KXAttributeConnectionInput) {
        if (isConnectedTo(other)) {
            return;
        }
        m_connections.push_back(other);
    } else {
        KXBaseAttribute* current = connection();
        if (current == other) {
            return;
        }
        if (current != nullptr) {
            m_connections.clear();
            current->disconnect(this, silent);
        }
        m_connections.push_back(other);
    }
    other->connect(this, silent);
    if (!silent) {
        notifyChanged(1);
    }
}

void KXBaseAttribute::disconnect(KXBaseAttribute* output, bool silent) {
    if (m_connectionKind != KXAttributeConnectionInput) {
        return;
    }
    auto found = std::find(m_connections.begin(), m_connections.end(), output);
    if (found == m_connections.end()) {
        return;
    }
    m_connections.erase(found);
    output->disconnectAll(silent);
    if (!silent) {
        notifyChanged(1);
    }
}

void KXBaseAttribute::disconnectAll(bool silent) {
    if (m_connections.empty()) {
        return;
    }
    if (m_connectionKind == KXAttributeConnectionOutput) {
        KXBaseAttribute* input = m_connections.front();
        m_connections.clear();
        input->disconnect(this, silent);
    } else if (m_connectionKind == KXAttributeConnectionInput) {
        std::vector<KXBaseAttribute*> outputs;
        outputs.swap(m_connections);
        for (KXBaseAttribute* output : outputs) {
            output->disconnectAll(silent);
        }
    } else {
        return;
    }
    if (!silent) {
        notifyChanged(1);
    }
}

bool KXBaseAttribute::isConnectedTo(const KXBaseAttribute* other) const {
    return std::find(m_connections.begin(), m_connections.end(), other) != m_connections.end();
}

KXBaseAttribute* KXBaseAttribute::connection() const {
    if (m_connectionKind != KXAttributeConnectionOutput || m_connections.empty()) {
        return nullptr;
    }
    return m_connections.front();
}

KXBaseAttribute* KXAttribute::clone(const std::string& name, KXModel* owner) const {
    return new KXAttribute(name, owner, *this);
}

KXBaseAttribute* KXAttribute::cloneForModel(KXModel* owner) const {
    return new KXAttribute(name(), owner, *this);
}

KXBaseAttribute* KXAttribute::cloneWithName(const std::string& name) const {
    return new KXAttribute(name, owner(), *this);
}
