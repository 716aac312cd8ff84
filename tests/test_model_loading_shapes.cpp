// A pack file holding a value of the wrong kind does not read, and the reason the loader notes says
// which model (or, before its id, which object) and what the value should have been.
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "support/loading_fixtures.h"

namespace {

const std::string kValues = "data/KXModelObjectLabel.0.attributes.pack";
const std::string kLinks = "data/KXModelObjectLabel.0.connections.pack";

class WrongKindTest : public LoadingTest {
protected:
    void SetUp() override {
        LoadingTest::SetUp();
        std::shared_ptr<KXModel> label = make("KXModelObjectLabel", "score");
        label->addChild(make("KXModelObjectLabel", "shadow"), true); // for the key "children"
        m_id = label->id();
        KXMessagePackMap::installKeyTable(
            kxdata::keyTableFor(kxdata::keyFileLines(kxdata::collectKeyNames({label}))));
        m_goodLabel = kxdata::packModels({label}, false);
        store()->clear();
        writeFolder({});
    }

    // A label's stored map: its id and class, and what `fill` adds.
    std::string labelWith(const std::function<void(KXMessagePackMap&, msgpack::zone&)>& fill) const {
        msgpack::zone zone;
        KXMessagePackMap map(zone);
        fill(map, zone);
        map.set("id", m_id);
        map.set("Class Name", "KXModelObjectLabel");
        return map.packToBytes();
    }

    // The problem the loader notes for a file of these bytes, which does not read.
    std::string reasonFor(const std::string& file, const std::string& bytes, int32_t type) const {
        store()->clear();
        folder().write(file, bytes);
        EXPECT_EQ(store()->loadDataFromFile(file, type), 2) << file;
        return store()->loadProblems().empty() ? std::string() : store()->loadProblems().front();
    }

    std::string model() const { return "model " + std::to_string(m_id) + " (KXModelObjectLabel)"; }

    uint32_t m_id = 0;
    std::string m_goodLabel;
};

TEST_F(WrongKindTest, AnAttributesValueOfTheWrongKindNamesTheModelTheEntryAndTheKindExpected) {
    struct Case {
        const char* what;
        std::function<void(KXMessagePackMap&, msgpack::zone&)> fill;
        std::string reason;
    };
    const Case cases[] = {
        {"a number for a name",
         [](KXMessagePackMap& map, msgpack::zone& zone) {
             KXMessagePackMap name(zone);
             name.set("value", 5u);
             map.set("Name", name);
         },
         model() + ": the value of Name is not a string"},
        {"a string for a point",
         [](KXMessagePackMap& map, msgpack::zone& zone) {
             KXMessagePackMap position(zone);
             position.set("value", std::string("far"));
             map.set("Position", position);
         },
         model() + ": the value of Position is not a point (2 numbers)"},
        {"a number where an attribute's map goes",
         [](KXMessagePackMap& map, msgpack::zone&) { map.set("Name", 5u); },
         model() + ": Name is not a map keyed by key ids"},
        {"animations that are no list, found by the attribute's own code",
         [](KXMessagePackMap& map, msgpack::zone& zone) {
             KXMessagePackMap opacity(zone);
             opacity.set("animations", 5u);
             map.set("Opacity", opacity);
         },
         model() + ": Opacity is not in the form a KXAttributeFloat stores"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(reasonFor(kValues, labelWith(c.fill), 0), kValues + ": " + c.reason);
        EXPECT_EQ(store()->lastError(), "Unable to load data: " + kValues + ": " + c.reason);
    }
}

// Before its class is read the model is named by its id alone, and before its id by where the
// object starts in the file.
TEST_F(WrongKindTest, AModelWhoseIdOrClassDoesNotReadIsNamedByWhatIsKnown) {
    msgpack::zone zone;
    KXMessagePackMap badClass(zone);
    badClass.set("id", m_id);
    badClass.set("Class Name", 7u);
    EXPECT_EQ(reasonFor(kValues, badClass.packToBytes(), 0),
              kValues + ": model " + std::to_string(m_id) + ": Class Name is not a string");

    KXMessagePackMap badId(zone);
    badId.set("id", std::string("six"));
    const std::string at = std::to_string(m_goodLabel.size());
    EXPECT_EQ(reasonFor(kValues, m_goodLabel + badId.packToBytes(), 0),
              kValues + ": the object at byte " + at + ": id is not a whole number from 0 to 4294967295");

    msgpack::sbuffer array;
    msgpack::pack(array, std::vector<int>{1, 2});
    EXPECT_EQ(reasonFor(kValues, m_goodLabel + std::string(array.data(), array.size()), 0),
              kValues + ": the object at byte " + at + " is not a map keyed by key ids");
}

TEST_F(WrongKindTest, AConnectionOfTheWrongKindNamesTheLoadedModel) {
    folder().write(kValues, m_goodLabel);
    ASSERT_EQ(store()->loadDataFromFile(kValues, 0), 0);
    ASSERT_NE(store()->getModel(m_id), nullptr);
    msgpack::zone zone;
    KXMessagePackMap links(zone);
    links.set("id", m_id);
    links.set("children", std::string("all"));
    folder().write(kLinks, links.packToBytes());
    EXPECT_EQ(store()->loadDataFromFile(kLinks, 1), 2);
    ASSERT_FALSE(store()->loadProblems().empty());
    EXPECT_EQ(store()->loadProblems().front(),
              kLinks + ": " + model() +
                  ": children is not an array, each element a whole number from 0 to 4294967295");
}

// A path's points are an entry of its own map beside the attributes: a list that is no list of
// points is named as such.
TEST_F(LoadingTest, APathsPointsOfTheWrongKindNameThePathAndThePointsExpected) {
    std::shared_ptr<KXModel> path = make("KXModelObjectPath", "track");
    const uint32_t id = path->id();
    KXMessagePackMap::installKeyTable(
        kxdata::keyTableFor(kxdata::keyFileLines(kxdata::collectKeyNames({path}))));
    store()->clear();
    writeFolder({});
    const std::string file = "data/KXModelObjectPath.0.attributes.pack";
    msgpack::zone zone;
    KXMessagePackMap map(zone);
    map.set("points", std::vector<std::string>{"north", "south"});
    map.set("id", id);
    map.set("Class Name", "KXModelObjectPath");
    folder().write(file, map.packToBytes());
    EXPECT_EQ(store()->loadDataFromFile(file, 0), 2);
    ASSERT_FALSE(store()->loadProblems().empty());
    EXPECT_EQ(store()->loadProblems().front(),
              file + ": model " + std::to_string(id) +
                  " (KXModelObjectPath): points is not an array, each element a point (2 numbers)");
}

} // namespace
