// Links between attributes of different models: symmetry, notifications, stored form.
#include <memory>

#include <gtest/gtest.h>

#include "model/KXMessagePackMap.h"
#include "support/model_test_models.h"

namespace {

class AttributeLinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetModelCore();
        a = KXModel::makeShared<TestModel>("A");
        b = KXModel::makeShared<TestModel>("B");
        c = KXModel::makeShared<TestModel>("C");
        out = makePort(*a, "Out", KXAttributeConnectionOutput);
        inB = makePort(*b, "In", KXAttributeConnectionInput);
        inC = makePort(*c, "In", KXAttributeConnectionInput);
        a->addObserver(&seenA);
        b->addObserver(&seenB);
        c->addObserver(&seenC);
    }
    void TearDown() override { resetModelCore(); }

    void forgetEvents() {
        seenA.events.clear();
        seenB.events.clear();
        seenC.events.clear();
    }

    // Declared first so that they outlive the models that report to them.
    RecordingObserver seenA, seenB, seenC;
    std::shared_ptr<KXModel> a, b, c;
    KXAttribute* out = nullptr;
    KXAttribute* inB = nullptr;
    KXAttribute* inC = nullptr;
};

using Events = std::vector<std::string>;

TEST_F(AttributeLinkTest, RelinkingAnOutputMovesItAndTellsBothInputs) {
    out->connect(inB, true);
    EXPECT_EQ(out->connection(), inB);
    EXPECT_TRUE(inB->isConnectedTo(out));
    EXPECT_TRUE(seenA.events.empty()); // silent
    EXPECT_TRUE(seenB.events.empty());

    out->connect(inC);
    EXPECT_EQ(out->connection(), inC);
    EXPECT_TRUE(inB->connections().empty());
    EXPECT_EQ(inC->connections(), std::vector<KXBaseAttribute*>{out});
    EXPECT_EQ(seenA.events, Events{"attribute Out 1"});
    EXPECT_EQ(seenB.events, Events{"attribute In 1"});
    EXPECT_EQ(seenC.events, Events{"attribute In 1"});

    // Connecting again from the input side changes nothing and tells nobody.
    forgetEvents();
    inC->connect(out);
    EXPECT_EQ(inC->connections().size(), 1u);
    EXPECT_TRUE(seenA.events.empty());
    EXPECT_TRUE(seenC.events.empty());
}

TEST_F(AttributeLinkTest, OnlyAnOutputAndAnInputLink) {
    KXAttribute* outB = makePort(*b, "Out", KXAttributeConnectionOutput);
    KXAttribute* plain = makePort(*c, "Plain", KXAttributeConnectionNone);
    inB->connect(inC);
    out->connect(outB);
    out->connect(plain);
    plain->connect(inB);
    out->connect(nullptr);
    for (const KXBaseAttribute* attribute :
         {static_cast<KXBaseAttribute*>(out), static_cast<KXBaseAttribute*>(outB),
          static_cast<KXBaseAttribute*>(plain), static_cast<KXBaseAttribute*>(inB),
          static_cast<KXBaseAttribute*>(inC)}) {
        EXPECT_TRUE(attribute->connections().empty()) << attribute->name();
    }
    EXPECT_TRUE(seenA.events.empty());
    EXPECT_TRUE(seenB.events.empty());
}

TEST_F(AttributeLinkTest, AnInputCollectsOutputsInOrderAndCopiesFollowTheLink) {
    KXAttribute* outB = makePort(*b, "Out", KXAttributeConnectionOutput);
    inC->connect(out, true);
    outB->connect(inC, true);
    EXPECT_EQ(inC->connections(), (std::vector<KXBaseAttribute*>{out, outB}));

    // A copy of an output is a second output on the same input, after its source.
    std::shared_ptr<KXModel> d = KXModel::makeShared<TestModel>("D");
    KXBaseAttribute* copy = out->cloneForModel(d.get());
    EXPECT_EQ(copy->owner(), d.get());
    EXPECT_EQ(copy->connectionKind(), KXAttributeConnectionOutput);
    EXPECT_EQ(copy->connection(), inC);
    EXPECT_EQ(inC->connections(), (std::vector<KXBaseAttribute*>{out, outB, copy}));
    EXPECT_TRUE(seenC.events.empty()); // copying links silently

    // An input copy starts unlinked.
    KXBaseAttribute* inputCopy = inC->cloneWithName("In 2");
    EXPECT_EQ(inputCopy->owner(), c.get());
    EXPECT_EQ(inputCopy->connectionKind(), KXAttributeConnectionInput);
    EXPECT_TRUE(inputCopy->connections().empty());

    // The bare base keeps neither kind nor link in cloneForModel.
    auto* bare = new KXBaseAttribute("Bare", a.get(), 3u);
    bare->setConnectionKind(KXAttributeConnectionOutput, true);
    bare->connect(inB, true);
    KXBaseAttribute* bareCopy = bare->cloneForModel(d.get());
    EXPECT_EQ(bareCopy->flags(), 3u);
    EXPECT_EQ(bareCopy->connectionKind(), KXAttributeConnectionNone);
    EXPECT_EQ(inB->connections().size(), 1u);
}

TEST_F(AttributeLinkTest, DestroyingAnInputUnlinksEveryOutput) {
    KXAttribute* outB = makePort(*b, "Out", KXAttributeConnectionOutput);
    inC->connect(out, true);
    inC->connect(outB, true);
    delete inC;
    EXPECT_EQ(c->attribute("In"), nullptr);
    EXPECT_EQ(out->connection(), nullptr);
    EXPECT_EQ(outB->connection(), nullptr);
    EXPECT_EQ(seenA.events, Events{"attribute Out 1"});
    // B hears its output lose the link; C hears its dying input.
    EXPECT_EQ(seenB.events, Events{"attribute Out 1"});
    EXPECT_EQ(seenC.events, Events{"attribute In 1"});
}

TEST_F(AttributeLinkTest, ChangingTheKindDropsLinks) {
    out->connect(inB, true);
    inB->setConnectionKind(KXAttributeConnectionInput); // unchanged: nothing
    EXPECT_EQ(out->connection(), inB);
    inB->setConnectionKind(KXAttributeConnectionNone, true);
    EXPECT_EQ(out->connection(), nullptr);
    EXPECT_TRUE(seenA.events.empty());
}

TEST_F(AttributeLinkTest, NamesAndOwners) {
    out->setName("Renamed");
    EXPECT_EQ(seenA.events, Events{"attribute Renamed 0"});
    out->setName("Quiet", true);
    EXPECT_EQ(seenA.events.size(), 1u);

    out->setOwner(b.get());
    EXPECT_EQ(a->attributeIndex(out), -1);
    EXPECT_EQ(b->attributeIndex(out), 2); // after "Name" and "In"
    b->removeAttribute(out);
    EXPECT_EQ(out->owner(), nullptr);
    out->notifyChanged(0); // no owner: nobody hears it
    EXPECT_TRUE(seenB.events.empty());
    delete out;
}

class AttributeStoredLinkTest : public AttributeLinkTest {
protected:
    void SetUp() override {
        AttributeLinkTest::SetUp();
        KXMessagePackMap::installKeyTable({{"connectedModelId", 1}, {"attributeName", 2}});
        KXModelController::shared()->addModel(b);
    }

    KXMessagePackMap linkMap(uint32_t modelId, const std::string& attributeName) {
        KXMessagePackMap map(zone);
        map.set("connectedModelId", modelId);
        map.set("attributeName", attributeName);
        return map;
    }

    msgpack::zone zone;
};

TEST_F(AttributeStoredLinkTest, OnlyALinkedOutputWritesItsLink) {
    KXMessagePackMap unlinked(zone);
    out->packConnections(unlinked);
    inB->packConnections(unlinked);
    EXPECT_TRUE(unlinked.empty());
    out->registerKeys();
    EXPECT_TRUE(KXMessagePackMap::registeredKeyNames().empty());

    out->connect(inB, true);
    KXMessagePackMap linked(zone);
    out->packConnections(linked);
    uint32_t modelId = 0;
    std::string name;
    ASSERT_TRUE(linked.get("connectedModelId", modelId));
    ASSERT_TRUE(linked.get("attributeName", name));
    EXPECT_EQ(modelId, b->id());
    EXPECT_EQ(name, "In");
    out->registerKeys();
    EXPECT_EQ(KXMessagePackMap::registeredKeyNames(),
              (std::set<std::string>{"attributeName", "connectedModelId"}));
}

TEST_F(AttributeStoredLinkTest, ReadingALinkFindsTheFirstInputOfThatName) {
    KXAttribute* second = makePort(*b, "In", KXAttributeConnectionInput);
    out->unpackConnections(linkMap(b->id(), "In"));
    EXPECT_EQ(out->connection(), inB);
    EXPECT_TRUE(second->connections().empty());
    EXPECT_TRUE(seenA.events.empty()); // loading is silent
    EXPECT_TRUE(seenB.events.empty());
}

TEST_F(AttributeStoredLinkTest, UnusableLinksLeaveTheOutputAsItWas) {
    makePort(*b, "Other Output", KXAttributeConnectionOutput);
    makePort(*b, "Plain", KXAttributeConnectionNone);
    const uint32_t unregisteredId = c->id();
    for (const KXMessagePackMap& map :
         {linkMap(0, "In"), linkMap(unregisteredId, "In"), linkMap(b->id(), ""),
          linkMap(b->id(), "Other Output"), linkMap(b->id(), "Plain"), linkMap(b->id(), "in")}) {
        out->unpackConnections(map);
        EXPECT_EQ(out->connection(), nullptr);
    }
    // An input never reads a link.
    inC->unpackConnections(linkMap(b->id(), "In"));
    EXPECT_TRUE(inC->connections().empty());

    // An existing link survives a stored id of 0.
    out->connect(inC, true);
    out->unpackConnections(linkMap(0, "In"));
    EXPECT_EQ(out->connection(), inC);

    KXMessagePackMap wrongType(zone);
    wrongType.set("connectedModelId", "12");
    EXPECT_THROW(out->unpackConnections(wrongType), msgpack::type_error);
}

} // namespace
