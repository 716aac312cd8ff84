#include "tools/kxdata/KXModelJson.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>
#include <vector>

#include "model/KXMessagePackMap.h"
#include "model/KXModel.h"

namespace kxdata {

namespace {

void appendString(std::string& out, const std::string& text) {
    out += '"';
    for (unsigned char c : text) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (c < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                out += escaped;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    out += '"';
}

void appendNumber(std::string& out, double value) {
    if (!std::isfinite(value)) {
        appendString(out, std::isnan(value) ? "nan" : (value > 0 ? "inf" : "-inf"));
        return;
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", value);
    out += text;
}

// A stored key: its name when the key table knows it, else the number.
std::string keyText(const msgpack::object& key) {
    if (key.type == msgpack::type::POSITIVE_INTEGER && key.via.u64 <= INT32_MAX) {
        try {
            return KXMessagePackMap::keyNameForId(static_cast<KXMessagePackMap::KeyId>(key.via.u64));
        } catch (const std::out_of_range&) {
            return std::to_string(key.via.u64);
        }
    }
    if (key.type == msgpack::type::STR) {
        return std::string(key.via.str.ptr, key.via.str.size);
    }
    return "?";
}

void appendObject(std::string& out, const msgpack::object& object) {
    switch (object.type) {
    case msgpack::type::NIL:
        out += "null";
        break;
    case msgpack::type::BOOLEAN:
        out += object.via.boolean ? "true" : "false";
        break;
    case msgpack::type::POSITIVE_INTEGER:
        out += std::to_string(object.via.u64);
        break;
    case msgpack::type::NEGATIVE_INTEGER:
        out += std::to_string(object.via.i64);
        break;
    case msgpack::type::FLOAT32:
    case msgpack::type::FLOAT64:
        appendNumber(out, object.via.f64);
        break;
    case msgpack::type::STR:
        appendString(out, std::string(object.via.str.ptr, object.via.str.size));
        break;
    case msgpack::type::ARRAY:
        out += '[';
        for (uint32_t i = 0; i < object.via.array.size; ++i) {
            out += i ? "," : "";
            appendObject(out, object.via.array.ptr[i]);
        }
        out += ']';
        break;
    case msgpack::type::MAP:
        out += '{';
        for (uint32_t i = 0; i < object.via.map.size; ++i) {
            out += i ? "," : "";
            appendString(out, keyText(object.via.map.ptr[i].key));
            out += ':';
            appendObject(out, object.via.map.ptr[i].val);
        }
        out += '}';
        break;
    default:
        appendString(out, "<binary>");
        break;
    }
}

// The model's stored map, keys by name, leaving out the keys in `skipped`.
void appendStoredMap(std::string& out, const KXModel& model, bool connections,
                     const std::vector<std::string>& skipped) {
    msgpack::zone zone;
    KXMessagePackMap map(zone);
    if (connections) {
        model.packConnections(map);
    } else {
        model.packValues(map);
    }
    const msgpack::object object = map.toObject();
    out += '{';
    bool first = true;
    for (uint32_t i = 0; i < object.via.map.size; ++i) {
        const std::string key = keyText(object.via.map.ptr[i].key);
        if (std::find(skipped.begin(), skipped.end(), key) != skipped.end()) {
            continue;
        }
        out += first ? "" : ",";
        first = false;
        appendString(out, key);
        out += ':';
        appendObject(out, object.via.map.ptr[i].val);
    }
    out += '}';
}

} // namespace

std::string modelToJson(const KXModel& model) {
    std::string out = "{\"id\":" + std::to_string(model.id()) + ",\"class\":";
    appendString(out, model.className());
    out += ",\"name\":";
    appendString(out, model.name());
    out += ",\"values\":";
    appendStoredMap(out, model, false, {"id", "Class Name"});
    out += ",\"children\":[";
    bool first = true;
    for (const std::shared_ptr<KXModel>& child : model.children()) {
        out += first ? "" : ",";
        first = false;
        out += std::to_string(child->id());
    }
    out += "],\"references\":";
    appendStoredMap(out, model, true, {"id", "children"});
    out += '}';
    return out;
}

} // namespace kxdata
