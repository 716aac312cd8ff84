#include "model/KXModel.h"

#include <algorithm>
#include <deque>
#include <unordered_map>

#include "base/CCArray.h"
#include "base/CCDictionary.h"
#include "base/CCString.h"
#include "model/KXBaseAttribute.h"
#include "model/KXDeepCopy.h"
#include "model/KXMessagePackMap.h"
#include "model/KXModelController.h"
#include "model/KXModelLinkIndex.h"
#include "model/KXStoredKeys.h"
#include "model/KXStoredShape.h"
#include "model/attributes/KXAttributeString.h"

namespace {

constexpr size_t kTypicalAttributeCount = 32;

// What dying models let go of, released one at a time by the outermost destructor, so
// that a long chain of children is freed in a loop rather than by nested destructors.
struct ReleaseQueue {
    std::deque<KXBaseAttribute*> attributes;
    std::deque<std::shared_ptr<KXModel>> children;
    bool draining = false;
};

ReleaseQueue& releaseQueue() {
    // Never destroyed: models may still die during static destruction.
    static ReleaseQueue* queue = new ReleaseQueue();
    return *queue;
}

const std::string& emptyName() {
    static const std::string* empty = new std::string();
    return *empty;
}

// The key ids of a class's attribute names under one key table. Models of a class have the same
// attributes, so a model compares its names with these instead of hashing each one.
struct AttributeKeys {
    uint64_t generation = 0;
    std::vector<std::string> names;
    std::vector<KXMessagePackMap::KeyId> ids;
    // Per key id up to the largest of `ids`: the first attribute stored under it, or -1.
    std::vector<int32_t> attributeById;
    // Per attribute: the first attribute of the same name (itself when its name is its own).
    std::vector<size_t> firstOfName;

    bool fits(const std::vector<KXBaseAttribute*>& attributes) const {
        if (generation != KXKeyName::tableGeneration() || names.size() != attributes.size()) {
            return false;
        }
        for (size_t i = 0; i < names.size(); ++i) {
            if (names[i] != attributes[i]->name()) {
                return false;
            }
        }
        return true;
    }
};

// Shared, so that a model unpacking its attributes keeps its entry while a nested read of another
// model of the class (with other attributes) replaces it.
std::shared_ptr<const AttributeKeys> attributeKeys(uint32_t type,
                                                   const std::vector<KXBaseAttribute*>& attributes) {
    static auto* byType = new std::unordered_map<uint32_t, std::shared_ptr<const AttributeKeys>>();
    std::shared_ptr<const AttributeKeys>& entry = (*byType)[type];
    if (entry && entry->fits(attributes)) {
        return entry;
    }
    auto keys = std::make_shared<AttributeKeys>();
    keys->generation = KXKeyName::tableGeneration();
    keys->names.reserve(attributes.size());
    keys->ids.reserve(attributes.size());
    KXMessagePackMap::KeyId largest = -1;
    for (const KXBaseAttribute* attribute : attributes) {
        keys->names.push_back(attribute->name());
        keys->ids.push_back(KXMessagePackMap::keyIdForName(attribute->name()));
        largest = std::max(largest, keys->ids.back());
    }
    keys->attributeById.assign(static_cast<size_t>(largest + 1), -1);
    keys->firstOfName.resize(attributes.size());
    for (size_t i = 0; i < attributes.size(); ++i) {
        const KXMessagePackMap::KeyId id = keys->ids[i];
        keys->firstOfName[i] = i;
        if (id < 0) {
            continue;
        }
        int32_t& first = keys->attributeById[static_cast<size_t>(id)];
        if (first < 0) {
            first = static_cast<int32_t>(i);
        } else {
            keys->firstOfName[i] = static_cast<size_t>(first);
        }
    }
    entry = keys;
    return entry;
}

// The entries of a stored map that belong to a model's attributes, found in one pass over the
// map: per attribute the first entry under its name's id, or null.
class AttributeEntries {
public:
    AttributeEntries(const AttributeKeys& keys, const KXMessagePackMap& map) : m_count(keys.ids.size()) {
        if (m_count > kOnStack) {
            m_heap.assign(m_count, nullptr);
            m_found = m_heap.data();
        } else {
            std::fill(m_stack, m_stack + m_count, nullptr);
        }
        const msgpack::object** found = m_found;
        map.forEachPair([&](KXMessagePackMap::KeyId id, const msgpack::object& value) {
            if (id >= 0 && static_cast<size_t>(id) < keys.attributeById.size()) {
                const int32_t index = keys.attributeById[static_cast<size_t>(id)];
                if (index >= 0 && found[index] == nullptr) {
                    found[index] = &value;
                }
            }
        });
        for (size_t i = 0; i < m_count; ++i) {
            found[i] = found[keys.firstOfName[i]];
        }
    }

    AttributeEntries(const AttributeEntries&) = delete;
    AttributeEntries& operator=(const AttributeEntries&) = delete;

    // The entry of attribute `index`, or null.
    const msgpack::object* operator[](size_t index) const {
        return index < m_count ? m_found[index] : nullptr;
    }

private:
    static constexpr size_t kOnStack = 64;

    size_t m_count;
    const msgpack::object* m_stack[kOnStack];
    std::vector<const msgpack::object*> m_heap;
    const msgpack::object** m_found = m_stack;
};

} // namespace

KXModel::KXModel(const std::string& name) : m_id(KXModelController::shared()->nextModelId()) {
    // Room for the attributes of most classes, so that construction does not grow the list often.
    m_attributes.reserve(kTypicalAttributeCount);
    m_nameAttribute = new KXAttributeString("Name", this);
    m_nameAttribute->setValue(name, true);
    joinLiveList();
}

KXModel::KXModel(const KXModel& source)
    : KXMessagePackInterface(source), m_id(KXModelController::shared()->nextModelId()) {
    m_attributes.reserve(source.m_attributes.size());
    for (const KXBaseAttribute* attribute : source.m_attributes) {
        attribute->cloneForModel(this);
    }
    KXBaseAttribute* name = attribute("Name");
    if (name != nullptr && name->typeId() == KXAttributeString::staticType()) {
        m_nameAttribute = static_cast<KXAttributeString*>(name);
    }
    joinLiveList();
}

KXModel::~KXModel() {
    leaveLiveList();
    if (KXModelController* controller = KXModelController::existing()) {
        controller->removeModel(sharedFromThis());
    }
    // The attributes lose their owner before they go: the far ends of their links are
    // still told, but nothing reaches this half-destroyed model or its observers.
    std::vector<KXBaseAttribute*> attributes;
    attributes.swap(m_attributes);
    m_nameAttribute = nullptr;
    for (KXBaseAttribute* attribute : attributes) {
        attribute->setOwner(nullptr);
    }

    ReleaseQueue& queue = releaseQueue();
    queue.attributes.insert(queue.attributes.end(), attributes.begin(), attributes.end());
    for (std::shared_ptr<KXModel>& child : m_children) {
        queue.children.push_back(std::move(child));
    }
    m_children.clear();
    forgetChildIndex();
    if (queue.draining) {
        return;
    }
    queue.draining = true;
    while (!queue.attributes.empty() || !queue.children.empty()) {
        if (!queue.attributes.empty()) {
            KXBaseAttribute* attribute = queue.attributes.front();
            queue.attributes.pop_front();
            delete attribute;
        } else {
            std::shared_ptr<KXModel> child = std::move(queue.children.front());
            queue.children.pop_front();
            child.reset();
        }
    }
    queue.draining = false;
}

// --- identity ---

void KXModel::setId(uint32_t id) {
    if (id == m_id) {
        return;
    }
    const uint32_t oldId = m_id;
    m_id = id;
    KXModelController::shared()->updateModelId(sharedFromThis(), oldId);
}

const std::string& KXModel::name() const {
    return m_nameAttribute != nullptr ? m_nameAttribute->value() : emptyName();
}

void KXModel::setName(const std::string& name) {
    if (m_nameAttribute != nullptr) {
        m_nameAttribute->setValue(name, false);
    }
}

void KXModel::registerWithController(const KXModel& source) {
    KXModelController* controller = KXModelController::shared();
    if (controller->isRegistered(&source)) {
        controller->addModel(sharedFromThis(), UINT32_MAX);
    }
}

// --- attributes ---

KXBaseAttribute* KXModel::attribute(const std::string& name) const {
    for (KXBaseAttribute* attribute : m_attributes) {
        if (attribute->name() == name) {
            return attribute;
        }
    }
    return nullptr;
}

int KXModel::attributeIndex(const KXBaseAttribute* attribute) const {
    auto found = std::find(m_attributes.begin(), m_attributes.end(), attribute);
    return found == m_attributes.end() ? -1 : static_cast<int>(found - m_attributes.begin());
}

void KXModel::insertAttribute(KXBaseAttribute* attribute, int index) {
    if (attribute == nullptr || attributeIndex(attribute) >= 0) {
        return;
    }
    if (index >= 0 && static_cast<size_t>(index) < m_attributes.size()) {
        m_attributes.insert(m_attributes.begin() + index, attribute);
    } else {
        m_attributes.push_back(attribute);
    }
    attribute->setOwner(this);
}

void KXModel::removeAttribute(KXBaseAttribute* attribute) {
    auto found = std::find(m_attributes.begin(), m_attributes.end(), attribute);
    if (found == m_attributes.end()) {
        return;
    }
    m_attributes.erase(found);
    if (attribute == m_nameAttribute) {
        m_nameAttribute = nullptr; // the caller owns it now and may delete it
    }
    attribute->setOwner(nullptr);
}

// --- notification ---

void KXModel::addObserver(KXModelObserver* observer) {
    if (observer != nullptr &&
        std::find(m_observers.begin(), m_observers.end(), observer) == m_observers.end()) {
        m_observers.push_back(observer);
    }
}

void KXModel::removeObserver(KXModelObserver* observer) {
    auto found = std::find(m_observers.begin(), m_observers.end(), observer);
    if (found != m_observers.end()) {
        m_observers.erase(found);
    }
}

void KXModel::notifyModelChanged() {
    const std::shared_ptr<KXModel> self = sharedFromThis();
    const std::vector<KXModelObserver*> observers = m_observers;
    for (KXModelObserver* observer : observers) {
        observer->modelChanged(self);
    }
    KXModelController::shared()->notifyModelChanged(self);
}

void KXModel::attributeChanged(KXBaseAttribute* attribute, int flag) {
    const std::vector<KXModelObserver*> observers = m_observers;
    for (KXModelObserver* observer : observers) {
        observer->attributeChanged(attribute, flag);
    }
    KXModelController::shared()->notifyAttributeChanged(attribute, flag);
}

void KXModel::childAdded(const std::shared_ptr<KXModel>& child) {
    const std::shared_ptr<KXModel> self = sharedFromThis();
    const std::vector<KXModelObserver*> observers = m_observers;
    for (KXModelObserver* observer : observers) {
        observer->childAdded(self, child);
    }
}

void KXModel::childRemoved(const std::shared_ptr<KXModel>& child) {
    const std::shared_ptr<KXModel> self = sharedFromThis();
    const std::vector<KXModelObserver*> observers = m_observers;
    for (KXModelObserver* observer : observers) {
        observer->childRemoved(self, child);
    }
}

void KXModel::allChildrenRemoved() {
    const std::shared_ptr<KXModel> self = sharedFromThis();
    const std::vector<KXModelObserver*> observers = m_observers;
    for (KXModelObserver* observer : observers) {
        observer->allChildrenRemoved(self);
    }
}

// --- copying ---

void KXModel::copyChildrenFrom(const std::shared_ptr<KXModel>& source, bool deep, bool registerClones,
                               bool silent) {
    if (!source) {
        return;
    }
    // A copy of the list: adding may change it when the source is this model.
    const std::vector<std::shared_ptr<KXModel>> children = source->children();
    for (const std::shared_ptr<KXModel>& child : children) {
        addChild(deep ? child->clone(deep, registerClones) : child, silent);
    }
}

std::shared_ptr<KXModel> KXModel::finishClone(const std::shared_ptr<KXModel>& copy, bool deep,
                                              bool registerClone) const {
    if (!copy) {
        return copy;
    }
    if (registerClone) {
        copy->registerWithController(*this);
    }
    std::shared_ptr<KXModel> source = sharedFromThis();
    if (!deep || !source) {
        copy->copyChildrenFrom(source, deep, true, false);
        return copy;
    }
    kxCopyChildrenDeeply(source, [copy, source] { copy->copyChildrenFrom(source, true, true, false); });
    return copy;
}

// --- stored form ---

namespace {

// Unpacks one attribute's stored map with `unpack`; a value of the wrong kind is named from the
// attribute down. Where the attribute's own code found the shape wrong without naming the entry,
// the attribute's class says what was expected.
KXMessagePackMap attributeMap(const KXBaseAttribute& attribute, const msgpack::object& stored) {
    try {
        return KXMessagePackMap::fromObject(stored);
    } catch (const KXStoredShapeError& error) {
        throw error.within(attribute.name());
    }
}

template <class Unpack>
void unpackNamingTheEntry(KXBaseAttribute& attribute, const msgpack::object& stored, Unpack unpack) {
    const KXMessagePackMap map = attributeMap(attribute, stored);
    try {
        unpack(attribute, map);
    } catch (const KXStoredShapeError& error) {
        if (error.namesItsEntry()) {
            throw error.within(attribute.name());
        }
        throw KXStoredShapeError(attribute.name(),
                                 std::string("in the form a ") + attribute.className() + " stores");
    } catch (const msgpack::type_error&) {
        throw KXStoredShapeError(attribute.name(),
                                 std::string("in the form a ") + attribute.className() + " stores");
    }
}

} // namespace

void KXModel::registerKeys() const {
    KXMessagePackMap::registerKeyName("id");
    KXMessagePackMap::registerKeyName("Class Name");
    if (!m_children.empty()) {
        KXMessagePackMap::registerKeyName("children");
    }
    for (const KXBaseAttribute* attribute : m_attributes) {
        attribute->registerKeys();
        KXMessagePackMap::registerKeyName(attribute->name());
    }
}

void KXModel::packValues(KXMessagePackMap& map) const {
    map.set("id", m_id);
    map.set("Class Name", className());
    for (const KXBaseAttribute* attribute : m_attributes) {
        KXMessagePackMap values(map.zone());
        attribute->packValues(values);
        if (!values.empty() || KXMessagePackMap::isCollectingKeys()) {
            map.set(attribute->name(), values);
        }
    }
}

void KXModel::unpackValues(const KXMessagePackMap& map) {
    uint32_t storedId = 0xFFFFFFFFu;
    map.get(kxkey::id, storedId);
    setId(storedId);
    const std::shared_ptr<const AttributeKeys> keys = attributeKeys(typeId(), m_attributes);
    const AttributeEntries entries(*keys, map);
    for (size_t i = 0; i < m_attributes.size(); ++i) {
        if (const msgpack::object* values = entries[i]) {
            unpackNamingTheEntry(*m_attributes[i], *values,
                                 [](KXBaseAttribute& attribute, const KXMessagePackMap& stored) {
                                     attribute.unpackValues(stored);
                                 });
        }
    }
}

void KXModel::packConnections(KXMessagePackMap& map) const {
    map.set("id", m_id);
    for (const KXBaseAttribute* attribute : m_attributes) {
        KXMessagePackMap links(map.zone());
        attribute->packConnections(links);
        if (!links.empty()) {
            map.set(attribute->name(), links);
        }
    }
    if (!m_children.empty()) {
        std::vector<uint32_t> childIds;
        childIds.reserve(m_children.size());
        for (const std::shared_ptr<KXModel>& child : m_children) {
            childIds.push_back(child->id());
        }
        map.set("children", childIds);
    }
}

void KXModel::unpackConnections(const KXMessagePackMap& map) {
    // A copy: an attribute's links never add or remove attributes, but stay safe.
    const std::vector<KXBaseAttribute*> attributes = m_attributes;
    const std::shared_ptr<const AttributeKeys> keys = attributeKeys(typeId(), attributes);
    const AttributeEntries entries(*keys, map);
    for (size_t i = 0; i < attributes.size(); ++i) {
        if (const msgpack::object* links = entries[i]) {
            unpackNamingTheEntry(*attributes[i], *links,
                                 [](KXBaseAttribute& attribute, const KXMessagePackMap& stored) {
                                     attribute.unpackConnections(stored);
                                 });
        }
    }
    std::vector<uint32_t> childIds;
    if (!map.get(kxkey::children, childIds)) {
        return;
    }
    KXModelController* controller = KXModelController::shared();
    for (uint32_t childId : childIds) {
        if (std::shared_ptr<KXModel> child = controller->getModel(childId)) {
            addChild(child, true);
        }
    }
}

void KXModel::loadValuesFromDictionary(cocos2d::CCDictionary* dictionary) {
    if (dictionary == nullptr) {
        return;
    }
    // A missing "id" reads as the empty text, whose value is 0.
    setId(dictionary->valueForKey("id")->uintValue());
    const std::vector<KXBaseAttribute*> attributes = m_attributes;
    for (KXBaseAttribute* attribute : attributes) {
        if (cocos2d::CCObject* object = dictionary->objectForKey(attribute->name())) {
            attribute->loadValueFromDictionary(object);
        }
    }
}

void KXModel::loadConnectionsFromDictionary(cocos2d::CCDictionary* dictionary) {
    if (dictionary == nullptr) {
        return;
    }
    const std::vector<KXBaseAttribute*> attributes = m_attributes;
    for (KXBaseAttribute* attribute : attributes) {
        if (cocos2d::CCObject* object = dictionary->objectForKey(attribute->name())) {
            attribute->loadConnectionFromDictionary(object);
        }
    }
    auto* childIds = dynamic_cast<cocos2d::CCArray*>(dictionary->objectForKey("children"));
    if (childIds == nullptr) {
        return;
    }
    KXModelController* controller = KXModelController::shared();
    for (cocos2d::CCObject* element : childIds->data()) {
        auto* text = dynamic_cast<cocos2d::CCString*>(element);
        if (text == nullptr) {
            break;
        }
        if (std::shared_ptr<KXModel> child = controller->getModel(text->uintValue())) {
            addChild(child, true);
        }
    }
}

cocos2d::CCDictionary* KXModel::saveValuesToDictionary() const {
    cocos2d::CCDictionary* dictionary = cocos2d::CCDictionary::create();
    dictionary->setObject(cocos2d::CCString::createWithFormat("%u", m_id), "id");
    dictionary->setObject(cocos2d::CCString::create(className()), "className");
    for (const KXBaseAttribute* attribute : m_attributes) {
        cocos2d::CCDictionary* values = attribute->saveValueToDictionary();
        if (values != nullptr && values->count() > 0) {
            dictionary->setObject(values, attribute->name());
        }
    }
    return dictionary;
}

cocos2d::CCDictionary* KXModel::saveConnectionsToDictionary() const {
    cocos2d::CCDictionary* dictionary = cocos2d::CCDictionary::create();
    dictionary->setObject(cocos2d::CCString::createWithFormat("%u", m_id), "id");
    for (const KXBaseAttribute* attribute : m_attributes) {
        cocos2d::CCDictionary* links = attribute->saveConnectionToDictionary();
        if (links != nullptr && links->count() > 0) {
            dictionary->setObject(links, attribute->name());
        }
    }
    if (!m_children.empty()) {
        cocos2d::CCArray* childIds =
            cocos2d::CCArray::createWithCapacity(static_cast<unsigned int>(m_children.size()));
        for (const std::shared_ptr<KXModel>& child : m_children) {
            childIds->addObject(cocos2d::CCString::createWithFormat("%u", child->id()));
        }
        dictionary->setObject(childIds, "children");
    }
    return dictionary;
}
