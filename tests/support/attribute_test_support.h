// Helpers for the typed-attribute suites: the key table they need, packing an attribute to
// bytes, reading bytes back as a map, and writing hand-made stored maps.
#pragma once

#include <set>
#include <string>
#include <vector>

#include <msgpack.hpp>

#include "model/KXMessagePackInterface.h"
#include "model/KXMessagePackMap.h"

// Every key name the attribute classes and curves store, with ids from 100 up (clear of the
// fall-back ids).
inline void installAttributeKeyTable() {
    static const char* const names[] = {
        "value",       "variableValue", "isEmpty",          "animations",   "enum",  "isXEmpty",  "isYEmpty",
        "animationsX", "animationsY",   "points",           "preset",       "state", "animation", "pos",
        "color",       "gradients",     "connectedModelId", "attributeName"};
    KXMessagePackMap::KeyTable table;
    int id = 100;
    for (const char* name : names) {
        table[name] = id++;
    }
    KXMessagePackMap::resetKeyState();
    KXMessagePackMap::installKeyTable(table);
}

// The stored value map of `object`, serialised.
inline std::string packValuesToBytes(const KXMessagePackInterface& object) {
    msgpack::zone zone;
    KXMessagePackMap map(zone);
    object.packValues(map);
    return map.packToBytes();
}

// A map read back from bytes; keeps the unpacked memory alive as long as the map.
class ReadMap {
public:
    explicit ReadMap(const std::string& bytes)
        : m_handle(msgpack::unpack(bytes.data(), bytes.size())),
          m_map(KXMessagePackMap::fromObject(m_handle.get())) {}
    const KXMessagePackMap& map() const { return m_map; }
    const msgpack::object* operator[](const std::string& keyName) const { return m_map.find(keyName); }
    std::set<std::string> keyNames() const {
        std::set<std::string> names;
        for (KXMessagePackMap::KeyId id : m_map.keyIds()) {
            names.insert(KXMessagePackMap::keyNameForId(id));
        }
        return names;
    }

private:
    msgpack::object_handle m_handle;
    KXMessagePackMap m_map;
};

// Writes a stored map by hand: map(n), then key("name") followed by exactly one value each.
class MapWriter {
public:
    explicit MapWriter(uint32_t entries) : m_packer(m_buffer) { m_packer.pack_map(entries); }
    msgpack::packer<msgpack::sbuffer>& key(const std::string& keyName) {
        m_packer.pack(KXMessagePackMap::requireKeyId(keyName));
        return m_packer;
    }
    msgpack::packer<msgpack::sbuffer>& packer() { return m_packer; }
    std::string bytes() const { return std::string(m_buffer.data(), m_buffer.size()); }

private:
    msgpack::sbuffer m_buffer;
    msgpack::packer<msgpack::sbuffer> m_packer;
};

// Unpacks hand-made bytes into `object`.
inline void unpackValuesFromBytes(KXMessagePackInterface& object, const std::string& bytes) {
    ReadMap read(bytes);
    object.unpackValues(read.map());
}
