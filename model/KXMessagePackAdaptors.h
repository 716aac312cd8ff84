// msgpack-cxx adaptors for the engine's value types, in the stored encodings:
//   CCPoint    array of 2 float32 (x, y)
//   CCSize     array of 2 float32 (width, height)
//   CCRect     array of 4 float32 (origin x, origin y, width, height)
//   ccColor4F  array of 4 float32 (r, g, b, a)
// Reading accepts any MessagePack number per element but insists on the exact element
// count; any other shape throws msgpack::type_error. Lists of points use msgpack's
// std::vector adaptor on top of these.
//
// msgpack-cxx packs a float whose value is a whole number as an integer. The stored
// format keeps float32 as float32, so objects are serialised with kxmsgpack::packObject
// (KXMessagePackMap::packToBytes uses it), never with msgpack::pack on an object.
#pragma once

#include <cstdint>
#include <cstring>
#include <msgpack.hpp>
#include <string>

#include "base/CCGeometry.h"
#include "base/ccTypes.h"

namespace kxmsgpack {

// Appends a float32 (0xca and the big-endian bits) whatever its value.
template <typename Stream> void packFloat32(msgpack::packer<Stream>& packer, float value) {
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    const char bytes[5] = {static_cast<char>(0xca), static_cast<char>(bits >> 24),
                           static_cast<char>(bits >> 16), static_cast<char>(bits >> 8),
                           static_cast<char>(bits)};
    packer.pack_bin_body(bytes, sizeof bytes); // appends the bytes as they are
}

// Appends a float64 (0xcb and the big-endian bits) whatever its value.
template <typename Stream> void packFloat64(msgpack::packer<Stream>& packer, double value) {
    uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    char bytes[9] = {static_cast<char>(0xcb)};
    for (int i = 0; i < 8; ++i) {
        bytes[1 + i] = static_cast<char>(bits >> (56 - 8 * i));
    }
    packer.pack_bin_body(bytes, sizeof bytes);
}

// Serialises an object as msgpack::pack would, except that floats keep their type.
template <typename Stream> void packObject(msgpack::packer<Stream>& packer, const msgpack::object& object) {
    switch (object.type) {
    case msgpack::type::FLOAT32:
        packFloat32(packer, static_cast<float>(object.via.f64));
        break;
    case msgpack::type::FLOAT64:
        packFloat64(packer, object.via.f64);
        break;
    case msgpack::type::ARRAY:
        packer.pack_array(object.via.array.size);
        for (uint32_t i = 0; i < object.via.array.size; ++i) {
            packObject(packer, object.via.array.ptr[i]);
        }
        break;
    case msgpack::type::MAP:
        packer.pack_map(object.via.map.size);
        for (uint32_t i = 0; i < object.via.map.size; ++i) {
            packObject(packer, object.via.map.ptr[i].key);
            packObject(packer, object.via.map.ptr[i].val);
        }
        break;
    default:
        packer.pack(object);
        break;
    }
}

inline std::string packObjectToBytes(const msgpack::object& object) {
    msgpack::sbuffer buffer;
    msgpack::packer<msgpack::sbuffer> packer(buffer);
    packObject(packer, object);
    return std::string(buffer.data(), buffer.size());
}

// The float members of a value type, in stored order.
template <class T> struct FloatFields;

template <> struct FloatFields<cocos2d::CCPoint> {
    static constexpr uint32_t count = 2;
    static void read(const cocos2d::CCPoint& v, float* f) { f[0] = v.x, f[1] = v.y; }
    static void write(cocos2d::CCPoint& v, const float* f) { v.x = f[0], v.y = f[1]; }
};

template <> struct FloatFields<cocos2d::CCSize> {
    static constexpr uint32_t count = 2;
    static void read(const cocos2d::CCSize& v, float* f) { f[0] = v.width, f[1] = v.height; }
    static void write(cocos2d::CCSize& v, const float* f) { v.width = f[0], v.height = f[1]; }
};

template <> struct FloatFields<cocos2d::CCRect> {
    static constexpr uint32_t count = 4;
    static void read(const cocos2d::CCRect& v, float* f) {
        f[0] = v.origin.x, f[1] = v.origin.y, f[2] = v.size.width, f[3] = v.size.height;
    }
    static void write(cocos2d::CCRect& v, const float* f) {
        v.origin.x = f[0], v.origin.y = f[1], v.size.width = f[2], v.size.height = f[3];
    }
};

template <> struct FloatFields<cocos2d::ccColor4F> {
    static constexpr uint32_t count = 4;
    static void read(const cocos2d::ccColor4F& v, float* f) {
        f[0] = v.r, f[1] = v.g, f[2] = v.b, f[3] = v.a;
    }
    static void write(cocos2d::ccColor4F& v, const float* f) {
        v.r = f[0], v.g = f[1], v.b = f[2], v.a = f[3];
    }
};

template <class T> void convertFloats(const msgpack::object& object, T& value) {
    constexpr uint32_t count = FloatFields<T>::count;
    if (object.type != msgpack::type::ARRAY || object.via.array.size != count) {
        throw msgpack::type_error();
    }
    float f[count];
    for (uint32_t i = 0; i < count; ++i) {
        f[i] = object.via.array.ptr[i].as<float>();
    }
    FloatFields<T>::write(value, f);
}

template <class T> void makeFloatArray(msgpack::object::with_zone& object, const T& value) {
    constexpr uint32_t count = FloatFields<T>::count;
    float f[count];
    FloatFields<T>::read(value, f);
    object.type = msgpack::type::ARRAY;
    object.via.array.size = count;
    object.via.array.ptr = static_cast<msgpack::object*>(
        object.zone.allocate_align(sizeof(msgpack::object) * count, MSGPACK_ZONE_ALIGNOF(msgpack::object)));
    for (uint32_t i = 0; i < count; ++i) {
        object.via.array.ptr[i] = msgpack::object(f[i]);
    }
}

template <class T, typename Stream> void packFloats(msgpack::packer<Stream>& packer, const T& value) {
    constexpr uint32_t count = FloatFields<T>::count;
    float f[count];
    FloatFields<T>::read(value, f);
    packer.pack_array(count);
    for (uint32_t i = 0; i < count; ++i) {
        packFloat32(packer, f[i]);
    }
}

} // namespace kxmsgpack

#define KX_MSGPACK_FLOAT_ADAPTOR(Type)                                                                       \
    namespace msgpack {                                                                                      \
    MSGPACK_API_VERSION_NAMESPACE(MSGPACK_DEFAULT_API_NS) {                                                  \
        namespace adaptor {                                                                                  \
        template <> struct convert<Type> {                                                                   \
            const msgpack::object& operator()(const msgpack::object& o, Type& v) const {                     \
                kxmsgpack::convertFloats(o, v);                                                              \
                return o;                                                                                    \
            }                                                                                                \
        };                                                                                                   \
        template <> struct pack<Type> {                                                                      \
            template <typename Stream>                                                                       \
            msgpack::packer<Stream>& operator()(msgpack::packer<Stream>& o, const Type& v) const {           \
                kxmsgpack::packFloats(o, v);                                                                 \
                return o;                                                                                    \
            }                                                                                                \
        };                                                                                                   \
        template <> struct object_with_zone<Type> {                                                          \
            void operator()(msgpack::object::with_zone& o, const Type& v) const {                            \
                kxmsgpack::makeFloatArray(o, v);                                                             \
            }                                                                                                \
        };                                                                                                   \
        }                                                                                                    \
    }                                                                                                        \
    }

KX_MSGPACK_FLOAT_ADAPTOR(cocos2d::CCPoint)
KX_MSGPACK_FLOAT_ADAPTOR(cocos2d::CCSize)
KX_MSGPACK_FLOAT_ADAPTOR(cocos2d::CCRect)
KX_MSGPACK_FLOAT_ADAPTOR(cocos2d::ccColor4F)

#undef KX_MSGPACK_FLOAT_ADAPTOR
