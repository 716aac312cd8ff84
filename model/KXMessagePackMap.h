// Integer-keyed MessagePack map and the process-wide key table.
//
// Stored maps use small integer keys; the key table (installed from the game's key file)
// maps key names to those integers. Readers look entries up by name and treat a name
// without an id as a missing entry; writers need every name to be in the table.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include <msgpack.hpp>

#include "model/KXMessagePackAdaptors.h"

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
    // Throws msgpack::type_error for a non-map object or a bad key.
    static KXMessagePackMap fromObject(const msgpack::object& object);

    bool empty() const { return m_order.empty(); }
    size_t size() const { return m_order.size(); }
    bool hasZone() const { return m_zone != nullptr; }
    // Throws std::logic_error "Zone not set" when the map has none.
    msgpack::zone& zone() const;

    // Entry under an id or a key name (through keyIdForName), or null.
    const msgpack::object* find(KeyId id) const;
    const msgpack::object* find(const std::string& keyName) const;
    bool contains(const std::string& keyName) const { return find(keyName) != nullptr; }
    // Key ids in insertion order.
    const std::vector<KeyId>& keyIds() const { return m_order; }

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
    // msgpack::type_error when the entry has the wrong shape.
    template <class T> bool get(const std::string& keyName, T& value) const {
        const msgpack::object* object = find(keyName);
        if (object == nullptr) {
            return false;
        }
        object->convert(value);
        return true;
    }
    // A nested map; it has no zone and refers to this map's memory.
    bool get(const std::string& keyName, KXMessagePackMap& nested) const;

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

    // Key collection: while on, setters only record the key names they are given.
    static bool isCollectingKeys();
    static void setCollectingKeys(bool collecting);
    static void registerKeyName(const std::string& name);
    static const std::set<std::string>& registeredKeyNames();

    // Empties the table and the registry and switches collection off (tools, tests).
    static void resetKeyState();

private:
    // Checks the zone and the collection mode; false when the setter must stop.
    bool beginSet(const std::string& keyName) const;
    void store(KeyId id, const msgpack::object& object);

    std::unordered_map<KeyId, msgpack::object> m_entries;
    std::vector<KeyId> m_order;
    msgpack::zone* m_zone = nullptr;
};
