#include "model/KXMessagePackReader.h"

#include <cstdint>
#include <cstring>

namespace kxmsgpack {

namespace {

uint16_t load16(const char* at) {
    uint16_t value;
    std::memcpy(&value, at, sizeof value);
    return __builtin_bswap16(value);
}

uint32_t load32(const char* at) {
    uint32_t value;
    std::memcpy(&value, at, sizeof value);
    return __builtin_bswap32(value);
}

uint64_t load64(const char* at) {
    uint64_t value;
    std::memcpy(&value, at, sizeof value);
    return __builtin_bswap64(value);
}

void setSigned(msgpack::object& object, int64_t value) {
    if (value >= 0) {
        object.type = msgpack::type::POSITIVE_INTEGER;
        object.via.u64 = static_cast<uint64_t>(value);
    } else {
        object.type = msgpack::type::NEGATIVE_INTEGER;
        object.via.i64 = value;
    }
}

class Decoder {
public:
    Decoder(msgpack::zone& zone, const char* at, const char* end, const msgpack::unpack_limit& limit)
        : m_zone(zone), m_at(at), m_end(end), m_limit(limit) {}

    const char* position() const { return m_at; }

    // `level`: the nesting level a container read here would have (1 at the top).
    void read(msgpack::object& object, std::size_t level) {
        const auto code = static_cast<unsigned char>(*take(1));
        if (code <= 0x7f) {
            object.type = msgpack::type::POSITIVE_INTEGER;
            object.via.u64 = code;
            return;
        }
        if (code >= 0xe0) {
            object.type = msgpack::type::NEGATIVE_INTEGER;
            object.via.i64 = static_cast<int8_t>(code);
            return;
        }
        if (code >= 0xa0 && code <= 0xbf) {
            readString(object, msgpack::type::STR, code & 0x1f);
            return;
        }
        if (code >= 0x90 && code <= 0x9f) {
            readArray(object, code & 0x0f, level);
            return;
        }
        if (code >= 0x80 && code <= 0x8f) {
            readMap(object, code & 0x0f, level);
            return;
        }
        switch (code) {
        case 0xc0:
            object.type = msgpack::type::NIL;
            return;
        case 0xc2:
        case 0xc3:
            object.type = msgpack::type::BOOLEAN;
            object.via.boolean = code == 0xc3;
            return;
        case 0xc4:
            readString(object, msgpack::type::BIN, static_cast<uint8_t>(*take(1)));
            return;
        case 0xc5:
            readString(object, msgpack::type::BIN, load16(take(2)));
            return;
        case 0xc6:
            readString(object, msgpack::type::BIN, load32(take(4)));
            return;
        case 0xc7:
            readExtension(object, static_cast<uint8_t>(*take(1)));
            return;
        case 0xc8:
            readExtension(object, load16(take(2)));
            return;
        case 0xc9: {
            const uint32_t length = load32(take(4));
            if (length == 0xffffffffu) {
                throw msgpack::ext_size_overflow("ext size overflow");
            }
            readExtension(object, length);
            return;
        }
        case 0xca: {
            const uint32_t bits = load32(take(4));
            float value;
            std::memcpy(&value, &bits, sizeof value);
            object.type = msgpack::type::FLOAT32;
            object.via.f64 = value;
            return;
        }
        case 0xcb: {
            const uint64_t bits = load64(take(8));
            double value;
            std::memcpy(&value, &bits, sizeof value);
            object.type = msgpack::type::FLOAT64;
            object.via.f64 = value;
            return;
        }
        case 0xcc:
            object.type = msgpack::type::POSITIVE_INTEGER;
            object.via.u64 = static_cast<uint8_t>(*take(1));
            return;
        case 0xcd:
            object.type = msgpack::type::POSITIVE_INTEGER;
            object.via.u64 = load16(take(2));
            return;
        case 0xce:
            object.type = msgpack::type::POSITIVE_INTEGER;
            object.via.u64 = load32(take(4));
            return;
        case 0xcf:
            object.type = msgpack::type::POSITIVE_INTEGER;
            object.via.u64 = load64(take(8));
            return;
        case 0xd0:
            setSigned(object, static_cast<int8_t>(*take(1)));
            return;
        case 0xd1:
            setSigned(object, static_cast<int16_t>(load16(take(2))));
            return;
        case 0xd2:
            setSigned(object, static_cast<int32_t>(load32(take(4))));
            return;
        case 0xd3:
            setSigned(object, static_cast<int64_t>(load64(take(8))));
            return;
        case 0xd4:
        case 0xd5:
        case 0xd6:
        case 0xd7:
        case 0xd8:
            readExtension(object, std::size_t(1) << (code - 0xd4));
            return;
        case 0xd9:
            readString(object, msgpack::type::STR, static_cast<uint8_t>(*take(1)));
            return;
        case 0xda:
            readString(object, msgpack::type::STR, load16(take(2)));
            return;
        case 0xdb:
            readString(object, msgpack::type::STR, load32(take(4)));
            return;
        case 0xdc:
            readArray(object, load16(take(2)), level);
            return;
        case 0xdd:
            readArray(object, load32(take(4)), level);
            return;
        case 0xde:
            readMap(object, load16(take(2)), level);
            return;
        case 0xdf:
            readMap(object, load32(take(4)), level);
            return;
        default: // 0xc1, never used
            throw msgpack::parse_error("parse error");
        }
    }

private:
    const char* take(std::size_t length) {
        if (static_cast<std::size_t>(m_end - m_at) < length) {
            throw msgpack::insufficient_bytes("insufficient bytes");
        }
        const char* at = m_at;
        m_at += length;
        return at;
    }

    // Strings and binary data stay in the buffer.
    void readString(msgpack::object& object, msgpack::type::object_type type, uint32_t length) {
        const char* at = take(length);
        object.type = type;
        if (type == msgpack::type::STR) {
            object.via.str.ptr = at;
            object.via.str.size = length;
        } else {
            object.via.bin.ptr = at;
            object.via.bin.size = length;
        }
    }

    // The type byte and `length` bytes of data; the object points at the type byte.
    void readExtension(msgpack::object& object, std::size_t length) {
        const char* at = take(length + 1);
        if (length + 1 > m_limit.ext()) {
            throw msgpack::ext_size_overflow("ext size overflow");
        }
        object.type = msgpack::type::EXT;
        object.via.ext.ptr = at;
        object.via.ext.size = static_cast<uint32_t>(length);
    }

    // Elements take a byte at least: a count the rest of the buffer cannot hold ends the data
    // before anything is allocated for it.
    void checkContainer(std::size_t count, std::size_t bytesEach, std::size_t level) {
        if (count > 0 && level > m_limit.depth()) {
            throw msgpack::depth_size_overflow("depth size overflow");
        }
        if (count > static_cast<std::size_t>(m_end - m_at) / bytesEach) {
            throw msgpack::insufficient_bytes("insufficient bytes");
        }
    }

    void readArray(msgpack::object& object, uint32_t count, std::size_t level) {
        if (count > m_limit.array()) {
            throw msgpack::array_size_overflow("array size overflow");
        }
        checkContainer(count, 1, level);
        object.type = msgpack::type::ARRAY;
        object.via.array.size = count;
        object.via.array.ptr = nullptr;
        if (count == 0) {
            return;
        }
        auto* elements = static_cast<msgpack::object*>(
            m_zone.allocate_align(sizeof(msgpack::object) * count, MSGPACK_ZONE_ALIGNOF(msgpack::object)));
        for (uint32_t i = 0; i < count; ++i) {
            read(elements[i], level + 1);
        }
        object.via.array.ptr = elements;
    }

    void readMap(msgpack::object& object, uint32_t count, std::size_t level) {
        if (count > m_limit.map()) {
            throw msgpack::map_size_overflow("map size overflow");
        }
        checkContainer(count, 2, level);
        object.type = msgpack::type::MAP;
        object.via.map.size = count;
        object.via.map.ptr = nullptr;
        if (count == 0) {
            return;
        }
        auto* pairs = static_cast<msgpack::object_kv*>(m_zone.allocate_align(
            sizeof(msgpack::object_kv) * count, MSGPACK_ZONE_ALIGNOF(msgpack::object_kv)));
        for (uint32_t i = 0; i < count; ++i) {
            read(pairs[i].key, level + 1);
            read(pairs[i].val, level + 1);
        }
        object.via.map.ptr = pairs;
    }

    msgpack::zone& m_zone;
    const char* m_at;
    const char* m_end;
    const msgpack::unpack_limit& m_limit;
};

} // namespace

msgpack::object unpackObject(msgpack::zone& zone, const char* data, std::size_t size, std::size_t& offset,
                             const msgpack::unpack_limit& limit) {
    if (offset >= size) {
        throw msgpack::insufficient_bytes("insufficient bytes");
    }
    Decoder decoder(zone, data + offset, data + size, limit);
    msgpack::object object;
    decoder.read(object, 1);
    offset = static_cast<std::size_t>(decoder.position() - data);
    return object;
}

} // namespace kxmsgpack
