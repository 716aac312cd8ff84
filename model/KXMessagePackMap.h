// Integer-keyed MessagePack map and the process-wide key table.
//
// Stored maps use small integer keys; the key table (installed from the game's key file)
// maps key names to those integers. Readers look entries up by name and treat a name
// without an id as a missing entry; writers need every name to be in the table.
//
// A map read from an object is a view of the object's own key-value pairs (no copy, no hash
// table): readers ask for keys in about the order the writer stored them, so a lookup goes on
// from where the last one stopped. KXKeyName keeps the id of a name that every model asks for,
// so that it is not hashed again per model.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include <msgpack.hpp>

#include "model/KXMessagePackAdaptors.h"
#include "model/KXStoredShape.h"

// A key name with its id looked up once per installed key table. Objects are meant to be
// static (constant-initialised, so usable at any time) and used from the main thread.
class KXKeyName {
public:
    constexpr explicit KXKeyName(const char* name) : m_name(name) {}

    const char* name() const { return m_name; }
    // KXMessagePackMap::keyIdForName of the name.
    int32_t id() const {
        if (m_generation != s_tableGeneration) {
            refresh();
        }
        return m_id;
    }

    // Called whenever the key table changes: every cached id is looked up again.
    static void forgetCachedIds() { ++s_tableGeneration; }
    static uint64_t tableGeneration() { return s_tableGeneration; }

private:
    void refresh() const;

    const char* m_name;
    mutable int32_t m_id = -1;
    mutable uint64_t m_generation = 0;
    inline static uint64_t s_tableGeneration = 1;
};

class KXMessagePackMap {
public:
    using KeyId = int32_t;
    using KeyTable = std::unordered_map<std::string, KeyId>;

    // Returned by keyIdForName for a name that has no id.
    static constexpr KeyId kNoKey = -1;

    // A map for reading only: every setter throws std::logic_error "Zone not set".
    KXMessagePackMap() = default;
    // A map that builds the objects it stores in `zone` (which must outlive it).
    explicit KXMessagePackMap(msgpack::zone& zone) : m_zone(&zone) {}

    // Reads a MessagePack map object (keys: non-negative integers below 2^32). The result
    // refers to the object's memory and has no zone. A repeated key keeps its first value.
    // Throws KXStoredShapeError (without an entry name) for a non-map object or a bad key.
    static KXMessagePackMap fromObject(const msgpack::object& object);

    bool empty() const { return pairCount() == 0; }
    // The number of distinct keys.
    size_t size() const;
    bool hasZone() const { return m_zone != nullptr; }
    // Throws std::logic_error "Zone not set" when the map has none.
    msgpack::zone& zone() const;

    // Entry under an id or a key name (through keyIdForName), or null.
    const msgpack::object* find(KeyId id) const;
    const msgpack::object* find(const std::string& keyName) const;
    const msgpack::object* find(const KXKeyName& key) const { return find(key.id()); }
    bool contains(const std::string& keyName) const { return find(keyName) != nullptr; }
    // Distinct key ids in insertion order.
    std::vector<KeyId> keyIds() const;
    // Every stored pair in stored order, repeated keys included (the first of them is the map's
    // value): visit(KeyId, const msgpack::object&).
    template <class Visit> void forEachPair(Visit visit) const {
        const msgpack::object_kv* all = pairs();
        for (size_t i = 0, count = pairCount(); i < count; ++i) {
            visit(static_cast<KeyId>(static_cast<uint32_t>(all[i].key.via.u64)), all[i].val);
        }
    }

    // Typed setters. Each: no zone -> std::logic_error "Zone not set"; key collection on ->
    // only registers the key name; else requireKeyId (std::runtime_error "A key is not
    // present"), builds the value in the zone and stores it unless the id is already set.
    // Encodings: uint32_t positive int; int32_t negative when below 0; float float32;
    // bool; std::string; CCPoint/CCSize/CCRect/ccColor4F float32 arrays;
    // std::vector<CCPoint>, std::vector<uint32_t>, std::vector<msgpack::object> arrays.
    template <class T> void set(const std::string& keyName, const T& value) {
        if (!beginSet(keyName)) {
            return;
        }
        store(requireKeyId(keyName), msgpack::object(value, *m_zone));
    }
    void set(const std::string& keyName, const char* value);
    void set(const std::string& keyName, const KXMessagePackMap& nested);

    // Typed readers: false and `value` untouched when the key has no id or no entry;
    // KXStoredShapeError (a msgpack::type_error) naming the key and the shape T needs when the
    // entry has another.
    template <class T> bool get(const std::string& keyName, T& value) const {
        return convertFound(find(keyName), value, keyName.c_str(), kNoKey);
    }
    template <class T> bool get(const KXKeyName& key, T& value) const {
        return convertFound(find(key), value, key.name(), kNoKey);
    }
    template <class T> bool getById(KeyId id, T& value) const {
        return convertFound(find(id), value, nullptr, id);
    }
    // A nested map; it has no zone and refers to this map's memory.
    bool get(const std::string& keyName, KXMessagePackMap& nested) const;
    bool get(const KXKeyName& key, KXMessagePackMap& nested) const;
    bool getById(KeyId id, KXMessagePackMap& nested) const;

    // One MessagePack map object, keys as positive integers in insertion order, values
    // copied into `target` (not copied again when `target` is this map's own zone).
    msgpack::object toObject(msgpack::zone& target) const;
    // Same, into this map's own zone ("Zone not set" without one).
    msgpack::object toObject() const { return toObject(zone()); }
    // The serialised bytes of toObject() (floats stay floats; see KXMessagePackAdaptors.h).
    std::string packToBytes() const;

    // --- process-wide key table ---

    // Replaces the table; the id-to-name side is rebuilt from it.
    static void installKeyTable(const KeyTable& table);
    static const KeyTable& keyTable();
    // The table's id; without an entry the fall-back ids "id" 42, "Class Name" 33,
    // "value" 10, "User ID" 50 (only while no installed name holds that id); else kNoKey.
    static KeyId keyIdForName(const std::string& name);
    // The table's id, no fall-back; throws std::runtime_error "A key is not present".
    static KeyId requireKeyId(const std::string& name);
    // Throws std::out_of_range when the id is not in the table.
    static const std::string& keyNameForId(KeyId id);
    // Whether the id is the table's, or one of the fall-back ids.
    static bool isKnownKeyId(KeyId id);

    // Key collection: while on, setters only record the key names they are given.
    static bool isCollectingKeys();
    static void setCollectingKeys(bool collecting);
    static void registerKeyName(const std::string& name);
    static const std::set<std::string>& registeredKeyNames();

    // Empties the table and the registry and switches collection off (tools, tests).
    static void resetKeyState();

private:
    // The key is named by `keyName`, or without one by `id`.
    template <class T>
    static bool convertFound(const msgpack::object* object, T& value, const char* keyName, KeyId id) {
        if (object == nullptr) {
            return false;
        }
        try {
            object->convert(value);
        } catch (const msgpack::type_error&) {
            throwWrongShape(keyName, id, &KXStoredShape<T>::text);
        }
        return true;
    }
    // Out of line: the readers stay small where they are inlined.
    [[noreturn]] static void throwWrongShape(const char* keyName, KeyId id, std::string (*expected)());
    static bool nestedFound(const msgpack::object* object, KXMessagePackMap& nested, const char* keyName,
                            KeyId id);
    static std::string entryName(const char* keyName, KeyId id);

    // Checks the zone and the collection mode; false when the setter must stop.
    bool beginSet(const std::string& keyName) const;
    void store(KeyId id, const msgpack::object& object);
    const msgpack::object_kv* pairs() const { return m_view != nullptr ? m_view : m_written.data(); }
    size_t pairCount() const { return m_view != nullptr ? m_viewLength : m_written.size(); }

    // A read map's pairs, in the unpacked object's memory (keys checked by fromObject).
    const msgpack::object_kv* m_view = nullptr;
    uint32_t m_viewLength = 0;
    // A written map's pairs, each key once.
    std::vector<msgpack::object_kv> m_written;
    // Distinct keys; kUnknownSize until asked for (small read maps do not count them up front).
    static constexpr size_t kUnknownSize = SIZE_MAX;
    mutable size_t m_size = 0;
    // No key occurs twice, so the first match from the hint is the only one; else lookups scan
    // from the start, where the first of repeated keys is.
    bool m_unique = true;
    // Where the next lookup starts.
    mutable uint32_t m_hint = 0;
    msgpack::zone* m_zone = nullptr;
};
