#include "model/KXMessagePackMap.h"

#include <algorithm>
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

// Read maps up to this size are scanned from the start for each key (attribute maps are this
// small); larger ones (a model's map) are checked for repeated keys once, then looked up from
// where the previous lookup stopped.
constexpr uint32_t kSmallMap = 8;

KXMessagePackMap::KeyId keyOf(const msgpack::object_kv& pair) {
    return static_cast<KXMessagePackMap::KeyId>(static_cast<uint32_t>(pair.key.via.u64));
}

// The number of distinct keys; `unique` tells whether that is all of them. Small maps compare
// pairwise, the usual sizes go through a table on the stack.
size_t countDistinct(const msgpack::object_kv* pairs, uint32_t count, bool& unique) {
    size_t distinct = 0;
    if (count <= 8) {
        for (uint32_t i = 0; i < count; ++i) {
            uint32_t j = 0;
            while (j < i && pairs[j].key.via.u64 != pairs[i].key.via.u64) {
                ++j;
            }
            distinct += j == i ? 1 : 0;
        }
    } else if (count <= 256) {
        uint64_t slots[512]; // key + 1, 0 for free
        size_t capacity = 32;
        while (capacity < 2 * size_t(count)) {
            capacity *= 2;
        }
        std::fill(slots, slots + capacity, 0);
        for (uint32_t i = 0; i < count; ++i) {
            const uint64_t key = pairs[i].key.via.u64 + 1;
            size_t slot = static_cast<size_t>((key * 0x9E3779B97F4A7C15ull) >> 40) & (capacity - 1);
            while (slots[slot] != 0 && slots[slot] != key) {
                slot = (slot + 1) & (capacity - 1);
            }
            if (slots[slot] == 0) {
                slots[slot] = key;
                ++distinct;
            }
        }
    } else {
        std::vector<uint64_t> keys(count);
        for (uint32_t i = 0; i < count; ++i) {
            keys[i] = pairs[i].key.via.u64;
        }
        std::sort(keys.begin(), keys.end());
        distinct = static_cast<size_t>(std::unique(keys.begin(), keys.end()) - keys.begin());
    }
    unique = distinct == count;
    return distinct;
}

} // namespace

void KXKeyName::refresh() const {
    m_id = KXMessagePackMap::keyIdForName(m_name);
    m_generation = s_tableGeneration;
}

KXMessagePackMap KXMessagePackMap::fromObject(const msgpack::object& object) {
    const char* const kMapOfKeyIds = "a map keyed by key ids";
    if (object.type != msgpack::type::MAP) {
        throw KXStoredShapeError("", kMapOfKeyIds);
    }
    const msgpack::object_map& pairs = object.via.map;
    for (uint32_t i = 0; i < pairs.size; ++i) {
        const msgpack::object& key = pairs.ptr[i].key;
        if (key.type != msgpack::type::POSITIVE_INTEGER || key.via.u64 > UINT32_MAX) {
            throw KXStoredShapeError("", kMapOfKeyIds);
        }
    }
    KXMessagePackMap map;
    map.m_view = pairs.ptr;
    map.m_viewLength = pairs.size;
    if (pairs.size <= kSmallMap) {
        // A scan from the start is as quick as any, and needs no count.
        map.m_unique = false;
        map.m_size = kUnknownSize;
    } else {
        map.m_size = countDistinct(pairs.ptr, pairs.size, map.m_unique);
    }
    return map;
}

size_t KXMessagePackMap::size() const {
    if (m_size == kUnknownSize) {
        bool unique = false;
        m_size = countDistinct(pairs(), static_cast<uint32_t>(pairCount()), unique);
    }
    return m_size;
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
    const msgpack::object_kv* all = pairs();
    const uint32_t count = static_cast<uint32_t>(pairCount());
    if (!m_unique) {
        // The first of repeated keys counts.
        for (uint32_t i = 0; i < count; ++i) {
            if (keyOf(all[i]) == id) {
                return &all[i].val;
            }
        }
        return nullptr;
    }
    const uint32_t hint = std::min(m_hint, count);
    for (uint32_t i = hint; i < count; ++i) {
        if (keyOf(all[i]) == id) {
            m_hint = i + 1;
            return &all[i].val;
        }
    }
    for (uint32_t i = 0; i < hint; ++i) {
        if (keyOf(all[i]) == id) {
            m_hint = i + 1;
            return &all[i].val;
        }
    }
    return nullptr;
}

std::vector<KXMessagePackMap::KeyId> KXMessagePackMap::keyIds() const {
    std::vector<KeyId> ids;
    ids.reserve(pairCount());
    const msgpack::object_kv* all = pairs();
    for (size_t i = 0; i < pairCount(); ++i) {
        const KeyId id = keyOf(all[i]);
        if (m_unique || std::find(ids.begin(), ids.end(), id) == ids.end()) {
            ids.push_back(id);
        }
    }
    return ids;
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
    if (find(id) != nullptr) {
        return; // the first value stays
    }
    msgpack::object_kv pair;
    pair.key = msgpack::object(static_cast<uint32_t>(id));
    pair.val = object;
    m_written.push_back(pair);
    m_size = m_written.size();
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

bool KXMessagePackMap::nestedFound(const msgpack::object* object, KXMessagePackMap& nested,
                                   const char* keyName, KeyId id) {
    if (object == nullptr) {
        return false;
    }
    try {
        nested = fromObject(*object);
    } catch (const KXStoredShapeError& error) {
        throw error.within(entryName(keyName, id));
    }
    return true;
}

void KXMessagePackMap::throwWrongShape(const char* keyName, KeyId id, std::string (*expected)()) {
    throw KXStoredShapeError(entryName(keyName, id), expected());
}

std::string KXMessagePackMap::entryName(const char* keyName, KeyId id) {
    if (keyName != nullptr) {
        return keyName;
    }
    const auto& names = keyState().namesById;
    auto found = names.find(id);
    return found != names.end() ? found->second : "key " + std::to_string(id);
}

bool KXMessagePackMap::get(const std::string& keyName, KXMessagePackMap& nested) const {
    return nestedFound(find(keyName), nested, keyName.c_str(), kNoKey);
}

bool KXMessagePackMap::get(const KXKeyName& key, KXMessagePackMap& nested) const {
    return nestedFound(find(key), nested, key.name(), kNoKey);
}

bool KXMessagePackMap::getById(KeyId id, KXMessagePackMap& nested) const {
    return nestedFound(find(id), nested, nullptr, id);
}

msgpack::object KXMessagePackMap::toObject(msgpack::zone& target) const {
    msgpack::object result;
    result.type = msgpack::type::MAP;
    const size_t distinct = size();
    result.via.map.size = static_cast<uint32_t>(distinct);
    result.via.map.ptr = nullptr;
    if (distinct == 0) {
        return result;
    }
    auto* out = static_cast<msgpack::object_kv*>(target.allocate_align(
        sizeof(msgpack::object_kv) * distinct, MSGPACK_ZONE_ALIGNOF(msgpack::object_kv)));
    const bool sameZone = (&target == m_zone);
    const msgpack::object_kv* all = pairs();
    size_t written = 0;
    for (size_t i = 0; i < pairCount() && written < distinct; ++i) {
        const KeyId id = keyOf(all[i]);
        bool repeated = false;
        for (size_t j = 0; !m_unique && j < written && !repeated; ++j) {
            repeated = keyOf(out[j]) == id;
        }
        if (repeated) {
            continue;
        }
        out[written].key = msgpack::object(static_cast<uint32_t>(id));
        out[written].val = sameZone ? all[i].val : msgpack::object(all[i].val, target);
        ++written;
    }
    result.via.map.ptr = out;
    return result;
}

std::string KXMessagePackMap::packToBytes() const {
    return kxmsgpack::packObjectToBytes(toObject());
}

void KXMessagePackMap::installKeyTable(const KeyTable& table) {
    KXKeyName::forgetCachedIds();
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

bool KXMessagePackMap::isKnownKeyId(KeyId id) {
    return keyState().namesById.count(id) != 0 || id == fallbackKeyId("id") ||
           id == fallbackKeyId("Class Name") || id == fallbackKeyId("value") ||
           id == fallbackKeyId("User ID");
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
    KXKeyName::forgetCachedIds();
    keyState() = KeyState();
}
