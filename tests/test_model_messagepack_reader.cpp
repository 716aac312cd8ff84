// The loader's MessagePack decoder against msgpack-cxx's unpack: the same objects from every kind
// of value, and the same exception for every cut and every flipped byte.
#include <cstdint>
#include <random>
#include <sstream>
#include <string>
#include <typeinfo>
#include <vector>

#include <gtest/gtest.h>

#include "model/KXMessagePackReader.h"

namespace {

bool inPlace(msgpack::type::object_type type, std::size_t, void*) {
    return type == msgpack::type::STR || type == msgpack::type::BIN;
}

// The outcome of decoding `data` from offset 0 with either decoder: the object as msgpack text
// and the offset after it, or the exception's type.
struct Outcome {
    std::string text;
    std::size_t offset = 0;
    std::string error;
};

msgpack::unpack_limit limits(std::size_t elements, std::size_t depth, std::size_t ext = 1u << 20) {
    return msgpack::unpack_limit(elements, elements, 1u << 20, 1u << 20, ext, depth);
}

// The object with the type of every element, and the bytes of strings, binary and extensions.
void describe(const msgpack::object& object, std::ostream& out) {
    out << static_cast<int>(object.type) << ':';
    switch (object.type) {
    case msgpack::type::ARRAY:
        out << '[';
        for (uint32_t i = 0; i < object.via.array.size; ++i) {
            describe(object.via.array.ptr[i], out);
            out << ',';
        }
        out << ']';
        break;
    case msgpack::type::MAP:
        out << '{';
        for (uint32_t i = 0; i < object.via.map.size; ++i) {
            describe(object.via.map.ptr[i].key, out);
            out << '=';
            describe(object.via.map.ptr[i].val, out);
            out << ',';
        }
        out << '}';
        break;
    case msgpack::type::EXT:
        out << static_cast<int>(object.via.ext.ptr[0]) << '/'
            << std::string(object.via.ext.data(), object.via.ext.size);
        break;
    default:
        out << object;
        break;
    }
}

template <class Decode> Outcome outcomeOf(Decode decode) {
    Outcome outcome;
    try {
        msgpack::zone zone;
        const msgpack::object object = decode(zone, outcome.offset);
        std::ostringstream text;
        describe(object, text);
        outcome.text = text.str();
    } catch (const std::exception& error) {
        outcome.error = typeid(error).name();
    }
    return outcome;
}

// Both decoders, the same result; returns the error (empty when the data decoded).
std::string expectSame(const std::string& data, const std::string& what, std::size_t elements = 1000,
                       std::size_t depth = 8, std::size_t ext = 1u << 20) {
    const msgpack::unpack_limit limit = limits(elements, depth, ext);
    const Outcome ours = outcomeOf([&](msgpack::zone& zone, std::size_t& offset) {
        return kxmsgpack::unpackObject(zone, data.data(), data.size(), offset, limit);
    });
    const Outcome theirs = outcomeOf([&](msgpack::zone& zone, std::size_t& offset) {
        bool referenced = false;
        return msgpack::unpack(zone, data.data(), data.size(), offset, referenced, inPlace, nullptr, limit);
    });
    EXPECT_EQ(ours.error, theirs.error) << what;
    EXPECT_EQ(ours.text, theirs.text) << what;
    if (ours.error.empty()) {
        EXPECT_EQ(ours.offset, theirs.offset) << what;
    }
    return ours.error;
}

// One value of every kind and at every length boundary, nested in arrays and maps.
std::string everyKind() {
    msgpack::sbuffer buffer;
    msgpack::packer<msgpack::sbuffer> packer(buffer);
    packer.pack_map(4);
    packer.pack(1u);
    packer.pack_array(31);
    for (int64_t value :
         {int64_t(0), int64_t(127), int64_t(128), int64_t(255), int64_t(256), int64_t(65535), int64_t(65536),
          int64_t(4294967295), int64_t(4294967296), int64_t(-1), int64_t(-32), int64_t(-33), int64_t(-128),
          int64_t(-129), int64_t(-32768), int64_t(-32769), int64_t(-2147483648LL), int64_t(-2147483649LL)}) {
        packer.pack(value);
    }
    packer.pack(uint64_t(18446744073709551615ull));
    packer.pack(1.5f);
    packer.pack(-0.25);
    packer.pack_nil();
    packer.pack(true);
    packer.pack(false);
    // Signed encodings of values that are not negative read as positive integers.
    buffer.write("\xd0\x05", 2);
    buffer.write("\xd0\x00", 2);
    buffer.write("\xd1\x00\x07", 3);
    buffer.write("\xd2\x00\x00\x00\x09", 5);
    buffer.write("\xd3\x00\x00\x00\x00\x00\x00\x00\x0b", 9);
    packer.pack_array(0);
    packer.pack_map(0);
    packer.pack(2u);
    packer.pack_array(12);
    for (std::size_t length : {0u, 31u, 32u, 255u, 256u, 65535u, 65536u}) {
        packer.pack(std::string(length, 's'));
    }
    for (std::size_t length : {0u, 255u, 256u, 65536u}) {
        packer.pack_bin(static_cast<uint32_t>(length));
        packer.pack_bin_body(std::string(length, 'b').data(), static_cast<uint32_t>(length));
    }
    packer.pack(std::string("last"));
    packer.pack(3u);
    packer.pack_array(8);
    for (std::size_t length : {1u, 2u, 4u, 8u, 16u, 0u, 3u, 300u}) {
        packer.pack_ext(length, 7);
        packer.pack_ext_body(std::string(length, 'e').data(), static_cast<uint32_t>(length));
    }
    packer.pack(4u);
    packer.pack_map(2);
    packer.pack(std::string("deep"));
    packer.pack_array(1);
    packer.pack_array(1);
    packer.pack_map(1);
    packer.pack(0);
    packer.pack_array(20);
    for (int i = 0; i < 20; ++i) {
        packer.pack(i * 1000);
    }
    packer.pack(5);
    packer.pack_array(70000); // array 32
    for (int i = 0; i < 70000; ++i) {
        packer.pack_nil();
    }
    return std::string(buffer.data(), buffer.size());
}

TEST(MessagePackReader, DecodesEveryKindOfValueAsMsgpackDoes) {
    EXPECT_EQ(expectSame(everyKind(), "every kind", 100000), "");
}

TEST(MessagePackReader, FailsWhereMsgpackFails) {
    const std::string data = everyKind();
    // Cuts everywhere in the first part, then at a stride.
    for (std::size_t cut = 0; cut < data.size(); cut += cut < 600 ? 1 : 997) {
        expectSame(data.substr(0, cut), "cut at " + std::to_string(cut), 100000);
    }
    std::mt19937 random(19);
    const std::string head = data.substr(0, 700);
    for (int round = 0; round < 3000; ++round) {
        std::string damaged = head;
        for (int flips = 0; flips < 3; ++flips) {
            damaged[random() % damaged.size()] = static_cast<char>(random() & 0xff);
        }
        expectSame(damaged, "round " + std::to_string(round), 500);
    }
    expectSame(std::string("\xc1", 1), "unused byte");
    EXPECT_NE(expectSame(data, "element limit", 40), "");
    EXPECT_NE(expectSame(data, "extension limit", 100000, 8, 64), "");
    EXPECT_NE(expectSame(std::string("\x91\x91\x91\x91\x91\x01", 6), "depth", 100, 4), "");
    expectSame(std::string("\x91\x91\x91\x91\x90", 5), "empty at depth", 100, 4);
}

TEST(MessagePackReader, ReadsConsecutiveObjectsAndKeepsStringsInTheBuffer) {
    const std::string data = std::string("\xa3one\x92\x01\xa3two", 10);
    msgpack::zone zone;
    std::size_t offset = 0;
    const msgpack::object first =
        kxmsgpack::unpackObject(zone, data.data(), data.size(), offset, limits(10, 4));
    EXPECT_EQ(offset, 4u);
    EXPECT_EQ(first.via.str.ptr, data.data() + 1);
    const msgpack::object second =
        kxmsgpack::unpackObject(zone, data.data(), data.size(), offset, limits(10, 4));
    EXPECT_EQ(offset, data.size());
    EXPECT_EQ(second.via.array.ptr[1].as<std::string>(), "two");
    EXPECT_THROW(kxmsgpack::unpackObject(zone, data.data(), data.size(), offset, limits(10, 4)),
                 msgpack::insufficient_bytes);
}

} // namespace
