#include "tools/kxdata/model_snapshot.h"

#include <cmath>
#include <cstdio>
#include <stdexcept>

#include "model/KXMessagePackMap.h"
#include "model/KXModel.h"

namespace kxdata {

namespace {

// Nesting that no stored model reaches; deeper data is cut rather than recursed into.
constexpr int kMaxDepth = 64;

std::string keyText(const msgpack::object& key) {
    if (key.type == msgpack::type::POSITIVE_INTEGER && key.via.u64 <= INT32_MAX) {
        try {
            return KXMessagePackMap::keyNameForId(static_cast<KXMessagePackMap::KeyId>(key.via.u64));
        } catch (const std::out_of_range&) {
            return "#" + std::to_string(key.via.u64);
        }
    }
    if (key.type == msgpack::type::STR) {
        return std::string(key.via.str.ptr, key.via.str.size);
    }
    return "?";
}

StoredValue convert(const msgpack::object& object, int depth) {
    StoredValue value;
    if (depth > kMaxDepth) {
        value.kind = StoredValue::Kind::Other;
        return value;
    }
    switch (object.type) {
    case msgpack::type::NIL:
        break;
    case msgpack::type::BOOLEAN:
        value.kind = StoredValue::Kind::Bool;
        value.flag = object.via.boolean;
        break;
    case msgpack::type::POSITIVE_INTEGER:
        value.kind = StoredValue::Kind::Integer;
        value.integer = static_cast<int64_t>(object.via.u64);
        break;
    case msgpack::type::NEGATIVE_INTEGER:
        value.kind = StoredValue::Kind::Integer;
        value.integer = object.via.i64;
        break;
    case msgpack::type::FLOAT32:
    case msgpack::type::FLOAT64:
        value.kind = StoredValue::Kind::Number;
        value.number = object.via.f64;
        break;
    case msgpack::type::STR:
        value.kind = StoredValue::Kind::Text;
        value.text.assign(object.via.str.ptr, object.via.str.size);
        break;
    case msgpack::type::ARRAY:
        value.kind = StoredValue::Kind::Array;
        for (uint32_t i = 0; i < object.via.array.size; ++i) {
            value.entries.emplace_back(std::string(), convert(object.via.array.ptr[i], depth + 1));
        }
        break;
    case msgpack::type::MAP:
        value.kind = StoredValue::Kind::Map;
        for (uint32_t i = 0; i < object.via.map.size; ++i) {
            value.entries.emplace_back(keyText(object.via.map.ptr[i].key),
                                       convert(object.via.map.ptr[i].val, depth + 1));
        }
        break;
    default:
        value.kind = StoredValue::Kind::Other;
        break;
    }
    return value;
}

StoredValue storedMap(const KXModel& model, bool connections) {
    msgpack::zone zone;
    KXMessagePackMap map(zone);
    if (connections) {
        model.packConnections(map);
    } else {
        model.packValues(map);
    }
    return convert(map.toObject(), 0);
}

std::string show(const StoredValue& value) {
    switch (value.kind) {
    case StoredValue::Kind::Nil:
        return "nil";
    case StoredValue::Kind::Bool:
        return value.flag ? "true" : "false";
    case StoredValue::Kind::Integer:
        return std::to_string(value.integer);
    case StoredValue::Kind::Number: {
        char text[40];
        std::snprintf(text, sizeof text, "%.9g", value.number);
        return text;
    }
    case StoredValue::Kind::Text:
        return "\"" + value.text + "\"";
    case StoredValue::Kind::Array:
        return "array of " + std::to_string(value.entries.size());
    case StoredValue::Kind::Map:
        return "map of " + std::to_string(value.entries.size());
    default:
        return "unreadable value";
    }
}

bool closeEnough(double expected, double actual, double tolerance) {
    if (std::isnan(expected) || std::isnan(actual)) {
        return std::isnan(expected) && std::isnan(actual);
    }
    if (expected == actual) {
        return true;
    }
    return std::fabs(expected - actual) <= tolerance * (1.0 + std::fabs(expected));
}

const StoredValue* findEntry(const StoredValue& map, const std::string& key) {
    for (const auto& entry : map.entries) {
        if (entry.first == key) {
            return &entry.second;
        }
    }
    return nullptr;
}

std::string compare(const StoredValue& expected, const StoredValue& actual, const std::string& path,
                    double tolerance) {
    const std::string mismatch = path + ": " + show(expected) + " before, " + show(actual) + " after";
    if (expected.kind != actual.kind) {
        return mismatch;
    }
    switch (expected.kind) {
    case StoredValue::Kind::Bool:
        return expected.flag == actual.flag ? "" : mismatch;
    case StoredValue::Kind::Integer:
        return expected.integer == actual.integer ? "" : mismatch;
    case StoredValue::Kind::Number:
        return closeEnough(expected.number, actual.number, tolerance) ? "" : mismatch;
    case StoredValue::Kind::Text:
        return expected.text == actual.text ? "" : mismatch;
    case StoredValue::Kind::Array:
        if (expected.entries.size() != actual.entries.size()) {
            return mismatch;
        }
        for (size_t i = 0; i < expected.entries.size(); ++i) {
            std::string difference = compare(expected.entries[i].second, actual.entries[i].second,
                                             path + "[" + std::to_string(i) + "]", tolerance);
            if (!difference.empty()) {
                return difference;
            }
        }
        return "";
    case StoredValue::Kind::Map:
        for (const auto& entry : expected.entries) {
            const StoredValue* other = findEntry(actual, entry.first);
            if (other == nullptr) {
                return path + "/" + entry.first + ": missing after the round trip";
            }
            std::string difference = compare(entry.second, *other, path + "/" + entry.first, tolerance);
            if (!difference.empty()) {
                return difference;
            }
        }
        for (const auto& entry : actual.entries) {
            if (findEntry(expected, entry.first) == nullptr) {
                return path + "/" + entry.first + ": appeared in the round trip";
            }
        }
        return "";
    default:
        return "";
    }
}

std::string idList(const std::vector<uint32_t>& ids) {
    std::string text = "[";
    for (size_t i = 0; i < ids.size(); ++i) {
        text += (i ? "," : "") + std::to_string(ids[i]);
    }
    return text + "]";
}

} // namespace

ModelSnapshot snapshotModel(const KXModel& model) {
    ModelSnapshot snapshot;
    snapshot.id = model.id();
    snapshot.className = model.className();
    snapshot.name = model.name();
    snapshot.values = storedMap(model, false);
    for (const std::shared_ptr<KXModel>& child : model.children()) {
        snapshot.children.push_back(child->id());
    }
    snapshot.connections = storedMap(model, true);
    return snapshot;
}

std::string firstDifference(const ModelSnapshot& expected, const ModelSnapshot& actual, double tolerance) {
    if (expected.className != actual.className) {
        return "class: " + expected.className + " before, " + actual.className + " after";
    }
    if (expected.id != actual.id) {
        return "id: " + std::to_string(expected.id) + " before, " + std::to_string(actual.id) + " after";
    }
    std::string difference = compare(expected.values, actual.values, "values", tolerance);
    if (!difference.empty()) {
        return difference;
    }
    if (expected.children != actual.children) {
        return "children: " + idList(expected.children) + " before, " + idList(actual.children) + " after";
    }
    return compare(expected.connections, actual.connections, "connections", tolerance);
}

std::string describeModel(const ModelSnapshot& snapshot) {
    return std::to_string(snapshot.id) + " " + snapshot.className + " \"" + snapshot.name + "\"";
}

} // namespace kxdata
