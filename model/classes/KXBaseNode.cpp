#include "model/classes/KXBaseNode.h"

#include "model/KXBaseAttribute.h"
#include "model/KXMessagePackMap.h"
#include "model/attributes/KXAttributePoint.h"
#include "model/classes/KXAttributeBinding.h"
#include "model/classes/KXModelCasts.h"
#include "model/classes/KXModelScreen.h"
#include "model/classes/KXNode.h"

#include "cocos2d.h"

#include <cstdlib>
#include <stdexcept>
#include <string>

using namespace cocos2d;

namespace {

// Entries of a connections map that are never ports.
bool isReservedKey(const std::string& name) {
    return name == "id" || name == KXBaseNode::kAttributesCountKey || name == "children";
}

// The key name of a stored id. An id that the key table does not know means that the file was
// written with other keys: the read fails, and with it the load of the file.
const std::string& portName(KXMessagePackMap::KeyId id, uint32_t nodeId) {
    try {
        return KXMessagePackMap::keyNameForId(id);
    } catch (const std::out_of_range&) {
        throw std::out_of_range("unknown key id " + std::to_string(id) + " in the ports of node " +
                                std::to_string(nodeId));
    }
}

} // namespace

KXBaseNode::KXBaseNode(const std::string& name) : KXModel(name) {
    m_position = new KXAttributePoint("Position", this);
    m_load = new KXAttribute(kLoadPortName, this);
    m_load->setConnectionKind(KXAttributeConnectionInput, true);
}

KXBaseNode::KXBaseNode(const KXBaseNode& source)
    : KXModel(source), m_position(boundAttribute<KXAttributePoint>(*this, "Position")),
      m_load(attribute(kLoadPortName)) {}

void KXBaseNode::registerKeys() const {
    KXModel::registerKeys();
    KXMessagePackMap::registerKeyName(kAttributesCountKey);
}

void KXBaseNode::packConnections(KXMessagePackMap& map) const {
    KXModel::packConnections(map);
    map.set(kAttributesCountKey, static_cast<uint32_t>(attributes().size()));
}

CCDictionary* KXBaseNode::saveConnectionsToDictionary() const {
    CCDictionary* dictionary = KXModel::saveConnectionsToDictionary();
    if (dictionary == nullptr) {
        dictionary = CCDictionary::create();
    }
    dictionary->setObject(CCString::createWithFormat("%u", static_cast<unsigned int>(attributes().size())),
                          kAttributesCountKey);
    return dictionary;
}

KXBaseAttribute* KXBaseNode::addOutputPort(const std::string& name) {
    KXBaseAttribute* port = new KXAttribute(name, this);
    port->setConnectionKind(KXAttributeConnectionOutput, true);
    return port;
}

void KXBaseNode::unpackConnections(const KXMessagePackMap& map) {
    uint32_t storedCount = 0;
    map.get(kAttributesCountKey, storedCount);
    if (storedCount != attributes().size()) {
        for (KXMessagePackMap::KeyId id : map.keyIds()) {
            const std::string& name = portName(id, this->id());
            if (isReservedKey(name) || attribute(name) != nullptr) {
                continue;
            }
            const KXMessagePackMap links = KXMessagePackMap::fromObject(*map.find(id));
            if (links.empty()) {
                continue;
            }
            uint32_t connectedModelId = 0;
            links.get("connectedModelId", connectedModelId);
            if (connectedModelId != 0) {
                addOutputPort(name)->unpackConnections(links);
            }
        }
    }
    KXModel::unpackConnections(map);
}

void KXBaseNode::loadConnectionsFromDictionary(CCDictionary* dictionary) {
    if (dictionary != nullptr) {
        const CCString* countText = dictionary->valueForKey(kAttributesCountKey);
        const unsigned long storedCount =
            countText->length() > 0 ? std::strtoul(countText->getCString(), nullptr, 10) : 0;
        CCArray* keys = dictionary->allKeys();
        if (storedCount != attributes().size() && keys != nullptr) {
            CCObject* keyObject = nullptr;
            CCARRAY_FOREACH(keys, keyObject) {
                const CCString* key = dynamic_cast<CCString*>(keyObject);
                if (key == nullptr || attribute(key->getCString()) != nullptr) {
                    continue;
                }
                CCDictionary* links =
                    dynamic_cast<CCDictionary*>(dictionary->objectForKey(key->getCString()));
                if (links == nullptr || links->valueForKey("connectedModelId")->length() == 0) {
                    continue;
                }
                addOutputPort(key->getCString())->loadConnectionFromDictionary(links);
            }
        }
    }
    KXModel::loadConnectionsFromDictionary(dictionary);
}

bool KXBaseNode::filterAttribute(const KXBaseAttribute* attribute) const {
    return attribute != nullptr && attribute->connectionKind() != KXAttributeConnectionOutput;
}

std::shared_ptr<KXModelScreen> KXBaseNode::screen() const {
    for (const std::shared_ptr<KXModel>& child : children()) {
        if (std::shared_ptr<KXModelScreen> found = modelKindCast<KXModelScreen>(child)) {
            return found;
        }
    }
    return nullptr;
}

std::shared_ptr<KXBaseNode> KXBaseNode::nodeLinkedFrom(const KXBaseAttribute* port) const {
    if (port == nullptr || port->connectionKind() != KXAttributeConnectionOutput) {
        return nullptr;
    }
    KXBaseAttribute* input = port->connection();
    if (input == nullptr || input->owner() == nullptr) {
        return nullptr;
    }
    std::shared_ptr<KXModel> target = input->owner()->sharedFromThis();
    if (!target || !target->isKindOf(KXNode::staticType())) {
        return nullptr;
    }
    return std::static_pointer_cast<KXBaseNode>(target);
}
