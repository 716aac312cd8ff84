// The dictionary forms of models and of the attribute base: what is written (numbers as text,
// empty entries left out), and how loading finds ids, links and children again.
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cocos2d.h"
#include "model/KXModelController.h"
#include "model/attributes/KXAttributeGeometry.h"
#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelObjectLabel.h"
#include "support/model_test_models.h"

using cocos2d::CCArray;
using cocos2d::CCDictionary;
using cocos2d::CCString;

namespace {

class DictionaryFormsTest : public ::testing::Test {
protected:
    void SetUp() override { resetModelCore(); }
    void TearDown() override {
        cocos2d::CCPoolManager::sharedPoolManager()->pop();
        resetModelCore();
    }

    static std::shared_ptr<TestModel> stored(const std::string& name) {
        auto model = KXModel::makeShared<TestModel>(name);
        KXModelController::shared()->addModel(model);
        return model;
    }

    static std::string text(CCDictionary* dictionary, const std::string& key) {
        return dictionary->valueForKey(key)->getString();
    }

    static CCDictionary* link(const std::string& modelId, const std::string& attributeName) {
        CCDictionary* dictionary = CCDictionary::create();
        dictionary->setObject(CCString::create(modelId), "connectedModelId");
        dictionary->setObject(CCString::create(attributeName), "attributeName");
        return dictionary;
    }
};

TEST_F(DictionaryFormsTest, ValuesHoldIdClassAndEveryAttributeWithEntries) {
    auto model = stored("Crate");
    model->setId(4000000000u);
    makePort(*model, "Port", KXAttributeConnectionInput);
    CCDictionary* values = model->saveValuesToDictionary();
    ASSERT_NE(values, nullptr);
    EXPECT_EQ(text(values, "id"), "4000000000");
    EXPECT_EQ(text(values, "className"), "TestModel");
    auto* name = dynamic_cast<CCDictionary*>(values->objectForKey("Name"));
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(text(name, "value"), "Crate");
    // A port has no value: its empty dictionary is left out.
    EXPECT_EQ(values->objectForKey("Port"), nullptr);
    EXPECT_EQ(values->count(), 3u);
}

TEST_F(DictionaryFormsTest, ConnectionsHoldLinksOfOutputsAndChildIdsInOrder) {
    auto target = stored("Target");
    KXAttribute* input = makePort(*target, "Load", KXAttributeConnectionInput);
    auto model = stored("Source");
    KXAttribute* output = makePort(*model, "Next", KXAttributeConnectionOutput);
    makePort(*model, "Unlinked", KXAttributeConnectionOutput);
    output->connect(input, true);
    auto first = stored("first");
    auto second = stored("second");
    model->addChild(second, true);
    model->addChild(first, true);

    CCDictionary* connections = model->saveConnectionsToDictionary();
    EXPECT_EQ(text(connections, "id"), std::to_string(model->id()));
    auto* next = dynamic_cast<CCDictionary*>(connections->objectForKey("Next"));
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(text(next, "connectedModelId"), std::to_string(target->id()));
    EXPECT_EQ(text(next, "attributeName"), "Load");
    EXPECT_EQ(connections->objectForKey("Unlinked"), nullptr);
    EXPECT_EQ(connections->objectForKey("Name"), nullptr);
    auto* children = dynamic_cast<CCArray*>(connections->objectForKey("children"));
    ASSERT_NE(children, nullptr);
    ASSERT_EQ(children->count(), 2u);
    EXPECT_EQ(static_cast<CCString*>(children->objectAtIndex(0))->getString(), std::to_string(second->id()));
    EXPECT_EQ(static_cast<CCString*>(children->objectAtIndex(1))->getString(), std::to_string(first->id()));

    // The input end and a model without children write neither links nor "children".
    CCDictionary* targetConnections = target->saveConnectionsToDictionary();
    EXPECT_EQ(targetConnections->count(), 1u);
}

TEST_F(DictionaryFormsTest, LoadingValuesSetsIdAndNamedAttributesOnly) {
    auto model = KXModel::makeShared<TestModel>("Before");
    auto* size = new KXAttributeSize("Size", model.get());
    CCDictionary* values = CCDictionary::create();
    values->setObject(CCString::create("77"), "id");
    CCDictionary* name = CCDictionary::create();
    name->setObject(CCString::create("After"), "value");
    values->setObject(name, "Name");
    CCDictionary* stray = CCDictionary::create();
    stray->setObject(CCString::create("{1.00,2.00}"), "value");
    values->setObject(stray, "No Such Attribute");
    model->loadValuesFromDictionary(values);
    EXPECT_EQ(model->id(), 77u);
    EXPECT_EQ(model->name(), "After");
    EXPECT_TRUE(size->value().equals(cocos2d::CCSize(0, 0)));

    // Without "id" the id reads as the empty text's value.
    model->loadValuesFromDictionary(CCDictionary::create());
    EXPECT_EQ(model->id(), 0u);
    model->loadValuesFromDictionary(nullptr);
    EXPECT_EQ(model->name(), "After");
}

TEST_F(DictionaryFormsTest, LoadedLinkGoesToTheFirstInputOfThatName) {
    auto target = stored("Target");
    makePort(*target, "Load", KXAttributeConnectionOutput);
    KXAttribute* firstInput = makePort(*target, "Load", KXAttributeConnectionInput);
    KXAttribute* secondInput = makePort(*target, "Load", KXAttributeConnectionInput);
    auto model = stored("Source");
    KXAttribute* output = makePort(*model, "Next", KXAttributeConnectionOutput);
    KXAttribute* input = makePort(*model, "In", KXAttributeConnectionInput);

    CCDictionary* connections = CCDictionary::create();
    connections->setObject(link(std::to_string(target->id()), "Load"), "Next");
    connections->setObject(link(std::to_string(target->id()), "Load"), "In");
    model->loadConnectionsFromDictionary(connections);
    EXPECT_EQ(output->connection(), firstInput);
    EXPECT_TRUE(secondInput->connections().empty());
    // Only outputs read a link.
    EXPECT_TRUE(input->connections().empty());
}

TEST_F(DictionaryFormsTest, LinkToAModelWithALargeIdSurvives) {
    auto target = stored("Target");
    target->setId(3000000000u);
    KXAttribute* load = makePort(*target, "Load", KXAttributeConnectionInput);
    auto model = stored("Source");
    KXAttribute* output = makePort(*model, "Next", KXAttributeConnectionOutput);
    output->connect(load, true);

    auto reader = stored("Reader");
    KXAttribute* readOutput = makePort(*reader, "Next", KXAttributeConnectionOutput);
    reader->loadConnectionsFromDictionary(model->saveConnectionsToDictionary());
    EXPECT_EQ(readOutput->connection(), load);
}

TEST_F(DictionaryFormsTest, LinksToNothingLeaveTheOutputAsItWas) {
    auto target = stored("Target");
    makePort(*target, "Out", KXAttributeConnectionOutput);
    KXAttribute* load = makePort(*target, "Load", KXAttributeConnectionInput);
    auto model = stored("Source");
    KXAttribute* output = makePort(*model, "Next", KXAttributeConnectionOutput);

    const std::vector<std::pair<std::string, std::string>> broken = {{"0", "Load"},
                                                                     {"", "Load"},
                                                                     {"999", "Load"},
                                                                     {std::to_string(target->id()), ""},
                                                                     {std::to_string(target->id()), "Out"},
                                                                     {std::to_string(target->id()), "load"}};
    for (const auto& entry : broken) {
        CCDictionary* connections = CCDictionary::create();
        connections->setObject(link(entry.first, entry.second), "Next");
        model->loadConnectionsFromDictionary(connections);
        EXPECT_EQ(output->connection(), nullptr) << entry.first << " " << entry.second;
    }
    // A link already made stays when the stored one names no model.
    output->connect(load, true);
    CCDictionary* connections = CCDictionary::create();
    connections->setObject(link("0", "Load"), "Next");
    model->loadConnectionsFromDictionary(connections);
    EXPECT_EQ(output->connection(), load);
}

TEST_F(DictionaryFormsTest, ChildrenAreFoundByIdSkippingUnknownAndStoppingAtANonText) {
    auto model = stored("Parent");
    auto a = stored("a");
    auto b = stored("b");
    auto c = stored("c");
    RecordingObserver observer;
    model->addObserver(&observer);

    CCArray* ids = CCArray::create();
    ids->addObject(CCString::createWithFormat("%u", b->id()));
    ids->addObject(CCString::create("123456"));
    ids->addObject(CCString::createWithFormat("%u", a->id()));
    ids->addObject(CCDictionary::create());
    ids->addObject(CCString::createWithFormat("%u", c->id()));
    CCDictionary* connections = CCDictionary::create();
    connections->setObject(ids, "children");
    model->loadConnectionsFromDictionary(connections);

    ASSERT_EQ(model->children().size(), 2u);
    EXPECT_EQ(model->children()[0], b);
    EXPECT_EQ(model->children()[1], a);
    EXPECT_TRUE(a->hasParent(model));
    // Added silently: observers hear only the child additions, not a model change.
    for (const std::string& event : observer.events) {
        EXPECT_EQ(event.rfind("added ", 0), 0u) << event;
    }
    model->removeObserver(&observer);
}

TEST_F(DictionaryFormsTest, LabelSurvivesItsDictionaryForms) {
    auto source = std::static_pointer_cast<KXModelObjectLabel>(KXModelObjectLabel::create());
    source->textAttribute()->setValue("Best: 12", true);
    source->alignmentAttribute()->setValue("kCCTextAlignmentRight", true);
    source->trackingAttribute()->setValue(-2.25f, true);
    source->stickToEdgeAttribute()->setValue(true, true);
    source->calculatedSizeAttribute()->setValue(cocos2d::CCSize(320.5f, 48.25f), true);

    auto copy = std::static_pointer_cast<KXModelObjectLabel>(KXModelObjectLabel::create());
    copy->loadValuesFromDictionary(source->saveValuesToDictionary());
    copy->loadConnectionsFromDictionary(source->saveConnectionsToDictionary());
    EXPECT_EQ(copy->id(), source->id());
    EXPECT_EQ(copy->text(), "Best: 12");
    EXPECT_EQ(copy->alignment(), "kCCTextAlignmentRight");
    EXPECT_EQ(copy->tracking(), -2.25f);
    EXPECT_TRUE(copy->stickToEdge());
    EXPECT_TRUE(copy->calculatedSize().equals(cocos2d::CCSize(320.5f, 48.25f)));
}

} // namespace
