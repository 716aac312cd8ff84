#include "model/KXMessagePackMap.h"

#include <stdexcept>

namespace {

struct KeyState {
    KXMessagePackMap::KeyTable idsByName;
    std::unordered_map<KXMessagePackMap::KeyId, std::string> namesById;
    std::set<std::string> registry;
    bool collecting = false;
};

KeyState& keyState() {
    static KeyState state;
    return state;
}

// Ids that let the general settings be read before any key table is installed.
KXMessagePackMap::KeyId fallbackKeyId(const std::string& name) {
    if (name == "id") {
        return 42;
    }
    if (name == "Class Name") {
        return 33;
    }
    if (name == "value") {
        return 10;
    }
    if (name == "User ID") {
        return 50;
    }
    return KXMessagePackMap::kNoKey;
}

} // namespace

KXMessagePackMap KXMessagePackMap::fromObject(const msgpack::object& object) {
    if (object.type != msgpack::type::MAP) {
        throw msgpack::type_error();
    }
    KXMessagePackMap map;
    const msgpack::object_map& pairs = object.via.map;
    map.m_entries.reserve(pairs.size);
    map.m_order.reserve(pairs.size);
    for (uint32_t i = 0; i < pairs.size; ++i) {
        const uint32_t key = pairs.ptr[i].key.as<uint32_t>();
        map.store(static_cast<KeyId>(key), pairs.ptr[i].val);
    }
    return map;
}

msgpack::zone& KXMessagePackMap::zone() const {
    if (m_zone == nullptr) {
        throw std::logic_error("Zone not set");
    }
    return *m_zone;
}

const msgpack::object* KXMessagePackMap::find(KeyId id) const {
    if (id == kNoKey) {
        return nullptr;
    }
    auto found = m_entries.find(id);
    return found == m_entries.end() ? nullptr : &found->second;
}

const msgpack::object* KXMessagePackMap::find(const std::string& keyName) const {
    return find(keyIdForName(keyName));
}

bool KXMessagePackMap::beginSet(const std::string& keyName) const {
    zone();
    if (isCollectingKeys()) {
        registerKeyName(keyName);
        return false;
    }
    return true;
}

void KXMessagePackMap::store(KeyId id, const msgpack::object& object) {
    if (m_entries.emplace(id, object).second) {
        m_order.push_back(id);
    }
}

void KXMessagePackMap::set(const std::string& keyName, const char* value) {
    if (!beginSet(keyName)) {
        return;
    }
    store(requireKeyId(keyName), msgpack::object(value, *m_zone));
}

void KXMessagePackMap::set(const std::string& keyName, const KXMessagePackMap& nested) {
    if (!beginSet(keyName)) {
        return;
    }
    store(requireKeyId(keyName), nested.toObject(*m_zone));
}

bool KXMessagePackMap::get(const std::string& keyName, KXMessagePackMap& nested) const {
    const msgpack::object* object = find(keyName);
    if (object == nullptr) {
        return false;
    }
    nested = fromObject(*object);
    return true;
}

msgpack::object KXMessagePackMap::toObject(msgpack::zone& target) const {
    msgpack::object result;
    result.type = msgpack::type::MAP;
    result.via.map.size = static_cast<uint32_t>(m_order.size());
    result.via.map.ptr = nullptr;
    if (m_order.empty()) {
        return result;
    }
    auto* pairs = static_cast<msgpack::object_kv*>(target.allocate_align(
        sizeof(msgpack::object_kv) * m_order.size(), MSGPACK_ZONE_ALIGNOF(msgpack::object_kv)));
    const bool sameZone = (&target == m_zone);
    for (size_t i = 0; i < m_order.size(); ++i) {
        const KeyId id = m_order[i];
        pairs[i].key = msgpack::object(static_cast<uint32_t>(id));
        const msgpack::object& value = m_entries.at(id);
        pairs[i].val = sameZone ? value : msgpack::object(value, target);
    }
    result.via.map.ptr = pairs;
    return result;
}

std::string KXMessagePackMap::packToBytes() const {
    return kxmsgpack::packObjectToBytes(toObject());
}

void KXMessagePackMap::installKeyTable(const KeyTable& table) {
    KeyState& state = keyState();
    if (&table != &state.idsByName) {
        state.idsByName = table;
    }
    state.namesById.clear();
    for (const auto& entry : state.idsByName) {
        state.namesById[entry.second] = entry.first;
    }
}

const KXMessagePackMap::KeyTable& KXMessagePackMap::keyTable() {
    return keyState().idsByName;
}

KXMessagePackMap::KeyId KXMessagePackMap::keyIdForName(const std::string& name) {
    const KeyState& state = keyState();
    auto found = state.idsByName.find(name);
    if (found != state.idsByName.end()) {
        return found->second;
    }
    const KeyId fallback = fallbackKeyId(name);
    if (fallback != kNoKey && state.namesById.count(fallback) != 0) {
        return kNoKey;
    }
    return fallback;
}

KXMessagePackMap::KeyId KXMessagePackMap::requireKeyId(const std::string& name) {
    const KeyState& state = keyState();
    auto found = state.idsByName.find(name);
    if (found == state.idsByName.end()) {
        throw std::runtime_error("A key is not present");
    }
    return found->second;
}

const std::string& KXMessagePackMap::keyNameForId(KeyId id) {
    return keyState().namesById.at(id);
}

bool KXMessagePackMap::isCollectingKeys() {
    return keyState().collecting;
}

void KXMessagePackMap::setCollectingKeys(bool collecting) {
    keyState().collecting = collecting;
}

void KXMessagePackMap::registerKeyName(const std::string& name) {
    keyState().registry.insert(name);
}

const std::set<std::string>& KXMessagePackMap::registeredKeyNames() {
    return keyState().registry;
}

void KXMessagePackMap::resetKeyState() {
    keyState() = KeyState();
}
