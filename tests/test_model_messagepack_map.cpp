// Integer-keyed maps, the key table and the stored encodings of every value type.
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/KXMessagePackMap.h"

namespace {

std::string bytes(std::initializer_list<unsigned char> list) {
    return std::string(list.begin(), list.end());
}

msgpack::object_handle unpackBytes(const std::string& data) {
    return msgpack::unpack(data.data(), data.size());
}

class MessagePackMapTest : public ::testing::Test {
protected:
    void SetUp() override {
        KXMessagePackMap::resetKeyState();
        KXMessagePackMap::installKeyTable(
            {{"id", 1}, {"value", 2}, {"Position", 3}, {"Name", 4}, {"Points", 5}});
    }
    void TearDown() override { KXMessagePackMap::resetKeyState(); }

    msgpack::zone zone;
};

TEST(MessagePackKeyTable, FallbackIdsWithoutTable) {
    KXMessagePackMap::resetKeyState();
    EXPECT_EQ(KXMessagePackMap::keyIdForName("id"), 42);
    EXPECT_EQ(KXMessagePackMap::keyIdForName("Class Name"), 33);
    EXPECT_EQ(KXMessagePackMap::keyIdForName("value"), 10);
    EXPECT_EQ(KXMessagePackMap::keyIdForName("User ID"), 50);
    // Exact match only.
    EXPECT_EQ(KXMessagePackMap::keyIdForName("ID"), -1);
    EXPECT_EQ(KXMessagePackMap::keyIdForName("class name"), -1);
    EXPECT_EQ(KXMessagePackMap::keyIdForName("Value"), -1);
    EXPECT_EQ(KXMessagePackMap::keyIdForName("Position"), -1);
    // Writers get no fall-back.
    EXPECT_THROW(KXMessagePackMap::requireKeyId("id"), std::runtime_error);
}

TEST(MessagePackKeyTable, FallbackGivesWayToInstalledNames) {
    KXMessagePackMap::resetKeyState();
    KXMessagePackMap::installKeyTable({{"Position", 42}, {"value", 33}});
    EXPECT_EQ(KXMessagePackMap::keyIdForName("id"), -1);         // 42 belongs to "Position"
    EXPECT_EQ(KXMessagePackMap::keyIdForName("value"), 33);      // the table wins over the fall-back
    EXPECT_EQ(KXMessagePackMap::keyIdForName("Class Name"), -1); // 33 belongs to "value"
    EXPECT_EQ(KXMessagePackMap::keyIdForName("User ID"), 50);
    EXPECT_EQ(KXMessagePackMap::keyNameForId(42), "Position");
    EXPECT_THROW(KXMessagePackMap::keyNameForId(50), std::out_of_range);

    // A later table replaces both sides.
    KXMessagePackMap::installKeyTable({{"Name", 7}});
    EXPECT_EQ(KXMessagePackMap::keyIdForName("id"), 42);
    EXPECT_EQ(KXMessagePackMap::keyIdForName("Position"), -1);
    EXPECT_THROW(KXMessagePackMap::keyNameForId(42), std::out_of_range);
    EXPECT_EQ(KXMessagePackMap::keyNameForId(7), "Name");
    KXMessagePackMap::resetKeyState();
}

TEST_F(MessagePackMapTest, SettersNeedZoneAndKnownKey) {
    KXMessagePackMap readOnly;
    try {
        readOnly.set("id", 1u);
        FAIL() << "expected Zone not set";
    } catch (const std::logic_error& error) {
        EXPECT_STREQ(error.what(), "Zone not set");
    }
    EXPECT_THROW(readOnly.zone(), std::logic_error);

    KXMessagePackMap map(zone);
    try {
        map.set("Unknown", 1u);
        FAIL() << "expected A key is not present";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "A key is not present");
    }
    EXPECT_TRUE(map.empty());
}

TEST_F(MessagePackMapTest, PacksExactBytesAndKeepsFirstValue) {
    KXMessagePackMap map(zone);
    map.set("id", 7u);
    map.set("value", -1);
    map.set("Position", cocos2d::CCPoint(1.5f, -2.0f));
    map.set("id", 9u); // ignored: the first value stays
    EXPECT_EQ(map.size(), 3u);
    EXPECT_EQ(map.packToBytes(), bytes({0x83, 0x01, 0x07, 0x02, 0xff, 0x03, 0x92, 0xca, 0x3f, 0xc0, 0x00,
                                        0x00, 0xca, 0xc0, 0x00, 0x00, 0x00}));
}

TEST_F(MessagePackMapTest, EncodingOfEachValueType) {
    KXMessagePackMap map(zone);
    map.set("id", 0);
    map.set("value", true);
    map.set("Name", "abc");
    map.set("Position", 0.25f);
    map.set("Points", std::vector<uint32_t>{3, 1});
    EXPECT_EQ(map.find(1)->type, msgpack::type::POSITIVE_INTEGER); // signed 0 is positive
    EXPECT_EQ(map.find(2)->type, msgpack::type::BOOLEAN);
    EXPECT_EQ(map.packToBytes(), bytes({0x85, 0x01, 0x00, 0x02, 0xc3, 0x04, 0xa3, 'a',  'b',  'c',
                                        0x03, 0xca, 0x3e, 0x80, 0x00, 0x00, 0x05, 0x92, 0x03, 0x01}));

    KXMessagePackMap sizes(zone);
    sizes.set("value", cocos2d::CCSize(2.0f, 0.0f));
    sizes.set("Position", cocos2d::CCRect(1.0f, 0.0f, 0.0f, -1.0f));
    sizes.set("Name", cocos2d::ccColor4F{0.0f, 0.5f, 1.0f, 2.0f});
    sizes.set("Points", std::vector<cocos2d::CCPoint>{cocos2d::CCPoint(1.0f, 2.0f)});
    EXPECT_EQ(sizes.packToBytes(),
              bytes({0x84,                                                                   //
                     0x02, 0x92, 0xca, 0x40, 0,    0,    0,    0xca, 0,    0,    0, 0,       // size
                     0x03, 0x94, 0xca, 0x3f, 0x80, 0,    0,    0xca, 0,    0,    0, 0,       // rect
                     0xca, 0,    0,    0,    0,    0xca, 0xbf, 0x80, 0,    0,                //
                     0x04, 0x94, 0xca, 0,    0,    0,    0,    0xca, 0x3f, 0,    0, 0,       // colour
                     0xca, 0x3f, 0x80, 0,    0,    0xca, 0x40, 0,    0,    0,                //
                     0x05, 0x91, 0x92, 0xca, 0x3f, 0x80, 0,    0,    0xca, 0x40, 0, 0, 0})); // points
}

TEST(MessagePackFloats, WholeNumbersStayFloats) {
    // msgpack-cxx on its own would write these as the integers 1 and 2.
    msgpack::sbuffer buffer;
    msgpack::pack(buffer, cocos2d::CCPoint(1.0f, 2.0f));
    EXPECT_EQ(std::string(buffer.data(), buffer.size()),
              bytes({0x92, 0xca, 0x3f, 0x80, 0, 0, 0xca, 0x40, 0, 0, 0}));
    EXPECT_EQ(kxmsgpack::packObjectToBytes(msgpack::object(3.0)),
              bytes({0xcb, 0x40, 0x08, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(kxmsgpack::packObjectToBytes(msgpack::object(-0.0f)), bytes({0xca, 0x80, 0, 0, 0}));
}

TEST_F(MessagePackMapTest, NestedMapsAndCopiedObjectLists) {
    KXMessagePackMap outer(zone);
    {
        // Objects from a buffer that goes away must survive in the writer's zone.
        msgpack::object_handle source = unpackBytes(bytes({0x92, 0xa1, 'x', 0x05}));
        std::vector<msgpack::object> items(source.get().via.array.ptr, source.get().via.array.ptr + 2);
        KXMessagePackMap inner(zone);
        inner.set("value", items);
        outer.set("Name", inner);
    }
    KXMessagePackMap empty(zone);
    outer.set("Position", empty);
    EXPECT_EQ(outer.packToBytes(), bytes({0x82, 0x04, 0x81, 0x02, 0x92, 0xa1, 'x', 0x05, 0x03, 0x80}));
}

TEST_F(MessagePackMapTest, ReadsBackWhatItWrites) {
    KXMessagePackMap map(zone);
    map.set("id", 4000000000u);
    map.set("value", -123456);
    map.set("Position", cocos2d::CCPoint(-3.5f, 8.0f));
    map.set("Points", std::vector<cocos2d::CCPoint>{cocos2d::CCPoint(1, 2), cocos2d::CCPoint(3, 4)});
    KXMessagePackMap nested(zone);
    nested.set("value", std::string("text"));
    map.set("Name", nested);

    const std::string data = map.packToBytes();
    msgpack::object_handle handle = unpackBytes(data);
    const KXMessagePackMap read = KXMessagePackMap::fromObject(handle.get());
    EXPECT_FALSE(read.hasZone());

    uint32_t id = 0;
    int32_t value = 0;
    cocos2d::CCPoint position;
    std::vector<cocos2d::CCPoint> points;
    KXMessagePackMap name;
    std::string text;
    ASSERT_TRUE(read.get("id", id));
    ASSERT_TRUE(read.get("value", value));
    ASSERT_TRUE(read.get("Position", position));
    ASSERT_TRUE(read.get("Points", points));
    ASSERT_TRUE(read.get("Name", name));
    ASSERT_TRUE(name.get("value", text));
    EXPECT_EQ(id, 4000000000u);
    EXPECT_EQ(value, -123456);
    EXPECT_EQ(position.x, -3.5f);
    EXPECT_EQ(position.y, 8.0f);
    ASSERT_EQ(points.size(), 2u);
    EXPECT_EQ(points[1].x, 3.0f);
    EXPECT_EQ(points[1].y, 4.0f);
    EXPECT_EQ(text, "text");

    // Missing keys and names without an id leave the target as it was.
    float untouched = 9.0f;
    EXPECT_FALSE(name.get("Position", untouched));
    EXPECT_FALSE(read.get("Not In Table", untouched));
    EXPECT_EQ(untouched, 9.0f);
}

TEST_F(MessagePackMapTest, PointsAcceptAnyNumberButExactLength) {
    // [1, -2] as integers reads as a point.
    msgpack::object_handle ints = unpackBytes(bytes({0x81, 0x03, 0x92, 0x01, 0xfe}));
    cocos2d::CCPoint point;
    KXMessagePackMap::fromObject(ints.get()).get("Position", point);
    EXPECT_EQ(point.x, 1.0f);
    EXPECT_EQ(point.y, -2.0f);

    const std::vector<std::string> wrongShapes = {
        bytes({0x81, 0x03, 0x93, 0x01, 0x02, 0x03}), // three elements
        bytes({0x81, 0x03, 0x81, 0x01, 0x02}),       // a map
        bytes({0x81, 0x03, 0x92, 0x01, 0xa1, 'x'}),  // a string element
        bytes({0x81, 0x03, 0x91, 0x01}),             // one element
    };
    for (const std::string& data : wrongShapes) {
        msgpack::object_handle handle = unpackBytes(data);
        const KXMessagePackMap map = KXMessagePackMap::fromObject(handle.get());
        EXPECT_THROW(map.get("Position", point), msgpack::type_error);
        cocos2d::CCRect rect;
        EXPECT_THROW(map.get("Position", rect), msgpack::type_error);
    }

    // A 3-element rect or colour, and a map where a list is expected.
    msgpack::object_handle three = unpackBytes(bytes({0x82, 0x03, 0x93, 0x01, 0x02, 0x03, 0x05, 0x80}));
    const KXMessagePackMap map = KXMessagePackMap::fromObject(three.get());
    cocos2d::CCRect rect;
    cocos2d::ccColor4F colour;
    std::vector<uint32_t> ids;
    std::vector<cocos2d::CCPoint> points;
    EXPECT_THROW(map.get("Position", rect), msgpack::type_error);
    EXPECT_THROW(map.get("Position", colour), msgpack::type_error);
    EXPECT_THROW(map.get("Points", ids), msgpack::type_error);
    EXPECT_THROW(map.get("Points", points), msgpack::type_error);
    EXPECT_THROW(map.get("Position", points), msgpack::type_error); // numbers are not points
}

TEST_F(MessagePackMapTest, FillingFromObjects) {
    // An array where a map is expected.
    msgpack::object_handle array = unpackBytes(bytes({0x91, 0x01}));
    EXPECT_THROW(KXMessagePackMap::fromObject(array.get()), msgpack::type_error);
    // Keys must be non-negative integers.
    msgpack::object_handle negativeKey = unpackBytes(bytes({0x81, 0xff, 0x01}));
    EXPECT_THROW(KXMessagePackMap::fromObject(negativeKey.get()), msgpack::type_error);
    msgpack::object_handle textKey = unpackBytes(bytes({0x81, 0xa1, 'a', 0x01}));
    EXPECT_THROW(KXMessagePackMap::fromObject(textKey.get()), msgpack::type_error);
    // A nested entry that is not a map.
    msgpack::object_handle flat = unpackBytes(bytes({0x81, 0x04, 0x01}));
    KXMessagePackMap nested;
    EXPECT_THROW(KXMessagePackMap::fromObject(flat.get()).get("Name", nested), msgpack::type_error);

    // A repeated key keeps its first value.
    msgpack::object_handle repeated = unpackBytes(bytes({0x82, 0x01, 0x05, 0x01, 0x06}));
    const KXMessagePackMap map = KXMessagePackMap::fromObject(repeated.get());
    uint32_t id = 0;
    ASSERT_TRUE(map.get("id", id));
    EXPECT_EQ(id, 5u);
    EXPECT_EQ(map.size(), 1u);

    // Wrong scalar types.
    msgpack::object_handle negativeId = unpackBytes(bytes({0x82, 0x01, 0xff, 0x02, 0xa1, 'x'}));
    const KXMessagePackMap bad = KXMessagePackMap::fromObject(negativeId.get());
    EXPECT_THROW(bad.get("id", id), msgpack::type_error);
    float number = 0;
    EXPECT_THROW(bad.get("value", number), msgpack::type_error);
}

TEST_F(MessagePackMapTest, KeyCollectionOnlyRecordsNames) {
    KXMessagePackMap::setCollectingKeys(true);
    KXMessagePackMap map(zone);
    map.set("Never Installed", 1u);
    map.set("id", 1u);
    KXMessagePackMap nested(zone);
    map.set("Nested Map", nested);
    EXPECT_TRUE(map.empty());
    EXPECT_EQ(KXMessagePackMap::registeredKeyNames(),
              (std::set<std::string>{"Never Installed", "id", "Nested Map"}));
    // The zone is checked first.
    KXMessagePackMap readOnly;
    EXPECT_THROW(readOnly.set("Other", 1u), std::logic_error);
    EXPECT_EQ(KXMessagePackMap::registeredKeyNames().count("Other"), 0u);
    KXMessagePackMap::setCollectingKeys(false);
}

} // namespace
