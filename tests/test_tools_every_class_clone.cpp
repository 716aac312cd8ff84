// Every registered class, populated as `kxdata write-sample --all-classes` writes it, copies
// itself whole: the clone's packed form and dictionary form equal the source's, and no copy
// constructor looks for an attribute under a name that its class does not make.
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "base/CCArray.h"
#include "base/CCAutoreleasePool.h"
#include "base/CCBoxedNumbers.h"
#include "base/CCDictionary.h"
#include "base/CCString.h"
#include "model/KXMessagePackMap.h"
#include "model/KXModel.h"
#include "model/KXModelController.h"
#include "model/classes/KXAttributeBinding.h"
#include "model/classes/KXModelCasts.h"
#include "model/classes/KXModelObjectGroup.h"
#include "support/model_test_models.h"
#include "tools/kxdata/KXGameWriter.h"
#include "tools/kxdata/KXSampleGame.h"
#include "tools/kxdata/model_snapshot.h"
#include "tools/kxdata/sample_controls.h"

namespace {

using cocos2d::CCArray;
using cocos2d::CCDictElement;
using cocos2d::CCDictionary;
using cocos2d::CCObject;

// Copy ids -> source ids. A copy has ids of its own, and so have the models it owns a copy of
// (shapes and animations are copied with their owner, children of a deep copy too); with the
// ids put back, the copy's stored forms must equal the source's.
using IdMap = std::map<uint32_t, uint32_t>;

// A dictionary form as text with its keys sorted and copy ids put back, so that two forms
// compare as strings.
std::string formText(CCObject* object, const IdMap& ids, bool skipChildren = false) {
    if (object == nullptr) {
        return "null";
    }
    if (auto* text = dynamic_cast<cocos2d::CCString*>(object)) {
        std::string value = text->getCString();
        for (const auto& id : ids) {
            if (value == std::to_string(id.first)) {
                value = std::to_string(id.second);
                break;
            }
        }
        return "\"" + value + "\"";
    }
    if (auto* dictionary = dynamic_cast<CCDictionary*>(object)) {
        std::map<std::string, std::string> entries;
        CCDictElement* element = nullptr;
        CCDICT_FOREACH(dictionary, element) {
            if (!(skipChildren && element->getKey() == "children")) {
                entries[element->getKey()] = formText(element->getObject(), ids);
            }
        }
        std::string out = "{";
        for (const auto& entry : entries) {
            out += entry.first + ": " + entry.second + ", ";
        }
        return out + "}";
    }
    if (auto* array = dynamic_cast<CCArray*>(object)) {
        std::string out = "[";
        CCObject* item = nullptr;
        CCARRAY_FOREACH(array, item) {
            out += formText(item, ids) + ", ";
        }
        return out + "]";
    }
    if (auto* number = dynamic_cast<cocos2d::CCInteger*>(object)) {
        return std::to_string(number->getValue());
    }
    if (auto* number = dynamic_cast<cocos2d::CCFloat*>(object)) {
        return std::to_string(number->getValue());
    }
    if (auto* number = dynamic_cast<cocos2d::CCDouble*>(object)) {
        return std::to_string(number->getValue());
    }
    if (auto* flag = dynamic_cast<cocos2d::CCBool*>(object)) {
        return flag->getValue() ? "true" : "false";
    }
    return "<unknown object>";
}

void restoreIds(kxdata::StoredValue& value, const IdMap& ids) {
    if (value.kind == kxdata::StoredValue::Kind::Integer) {
        auto found = ids.find(static_cast<uint32_t>(value.integer));
        if (value.integer >= 0 && found != ids.end()) {
            value.integer = found->second;
        }
    }
    for (auto& entry : value.entries) {
        restoreIds(entry.second, ids);
    }
}

kxdata::ModelSnapshot copySnapshot(const KXModel& copy, const IdMap& ids) {
    kxdata::ModelSnapshot snapshot = kxdata::snapshotModel(copy);
    snapshot.id = ids.at(snapshot.id);
    restoreIds(snapshot.values, ids);
    restoreIds(snapshot.connections, ids);
    for (uint32_t& child : snapshot.children) {
        auto found = ids.find(child);
        child = found != ids.end() ? found->second : child;
    }
    return snapshot;
}

void dropChildren(kxdata::ModelSnapshot& snapshot) {
    snapshot.children.clear();
    auto& entries = snapshot.connections.entries;
    for (auto entry = entries.begin(); entry != entries.end();) {
        entry = entry->first == "children" ? entries.erase(entry) : entry + 1;
    }
}

// Pairs a copy with its source, and the owned copies within it with theirs.
void pairCopies(const KXModel& source, const KXModel& copy, IdMap& ids,
                std::vector<std::pair<const KXModel*, const KXModel*>>& pairs) {
    if (&source == &copy || ids.count(copy.id()) != 0) {
        return;
    }
    ids[copy.id()] = source.id();
    pairs.emplace_back(&source, &copy);
    const auto& from = source.attributes();
    const auto& to = copy.attributes();
    for (size_t index = 0; index < from.size() && index < to.size(); ++index) {
        std::shared_ptr<KXModel> original = from[index]->referencedModel();
        std::shared_ptr<KXModel> copied = to[index]->referencedModel();
        if (original && copied) {
            pairCopies(*original, *copied, ids, pairs);
        }
    }
    for (size_t index = 0; index < source.children().size() && index < copy.children().size(); ++index) {
        pairCopies(*source.children()[index], *copy.children()[index], ids, pairs);
    }
}

class EveryClassClone : public ::testing::Test {
protected:
    void SetUp() override { resetModelCore(); }
    void TearDown() override {
        cocos2d::CCPoolManager::sharedPoolManager()->pop();
        resetModelCore();
    }
};

TEST_F(EveryClassClone, ClonesMatchTheirSourceInThePackedAndTheDictionaryForm) {
    kxdata::SampleGame game = kxdata::buildSampleGame();
    kxdata::addEveryRegisteredClass(game);
    KXMessagePackMap::installKeyTable(
        kxdata::keyTableFor(kxdata::keyFileLines(kxdata::collectKeyNames(game.models))));

    std::set<std::string> cloned;
    for (const std::shared_ptr<KXModel>& model : game.models) {
        SCOPED_TRACE(kxdata::describeModel(kxdata::snapshotModel(*model)));
        const size_t missedBefore = kxMissedBindings();
        std::shared_ptr<KXModel> copy = model->clone(false, false);
        ASSERT_TRUE(copy);
        EXPECT_EQ(kxMissedBindings(), missedBefore) << "a member bound under a name its class does not make";
        EXPECT_STREQ(copy->className(), model->className());
        cloned.insert(model->className());
        IdMap ids;
        std::vector<std::pair<const KXModel*, const KXModel*>> pairs;
        pairCopies(*model, *copy, ids, pairs);
        for (const auto& pair : pairs) {
            const KXModel& source = *pair.first;
            const KXModel& copied = *pair.second;
            SCOPED_TRACE(std::string("copy of ") + source.className() + " " + std::to_string(source.id()));
            kxdata::ModelSnapshot expected = kxdata::snapshotModel(source);
            kxdata::ModelSnapshot actual = copySnapshot(copied, ids);
            // A group's copy takes no children (a section's deep copy hands them over itself).
            const bool childless = modelCast<KXModelObjectGroup>(copied.sharedFromThis()) != nullptr;
            if (childless) {
                dropChildren(expected);
                dropChildren(actual);
            }
            EXPECT_EQ(kxdata::firstDifference(expected, actual, 0.0), "");
            EXPECT_EQ(formText(copied.saveValuesToDictionary(), ids),
                      formText(source.saveValuesToDictionary(), {}));
            EXPECT_EQ(formText(copied.saveConnectionsToDictionary(), ids, childless),
                      formText(source.saveConnectionsToDictionary(), {}, childless));
        }
    }
    for (const std::string& className : KXModelController::shared()->classNames()) {
        EXPECT_EQ(cloned.count(className), 1u) << className << " was not cloned";
    }
}

} // namespace
