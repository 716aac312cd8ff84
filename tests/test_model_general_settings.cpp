// The general settings: stored defaults, the shared instance, the id counter, platform values
// and the dictionary form.
#include <string>

#include <gtest/gtest.h>

#include "model/KXDebugLog.h"
#include "model/KXMessagePackMap.h"
#include "model/KXModelController.h"
#include "model/classes/KXModelGeneralSettings.h"
#include "model/references/KXAttributeSprite.h"
#include "tools/kxdata/KXGameWriter.h"

namespace {

// The value stored under `name` in an unpacked map whose keys are the ids of `table`.
const msgpack::object* entry(const msgpack::object& map, const KXMessagePackMap::KeyTable& table,
                             const std::string& name) {
    const uint64_t id = static_cast<uint64_t>(table.at(name));
    for (uint32_t i = 0; i < map.via.map.size; ++i) {
        if (map.via.map.ptr[i].key.as<uint64_t>() == id) {
            return &map.via.map.ptr[i].val;
        }
    }
    return nullptr;
}

} // namespace

class GeneralSettingsTest : public ::testing::Test {
protected:
    void SetUp() override { KXModelController::shared()->clear(); }
    void TearDown() override {
        KXModelController::shared()->clear();
        KXMessagePackMap::resetKeyState();
    }

    // The key table of what `settings` stores, installed.
    static KXMessagePackMap::KeyTable installKeysOf(const std::shared_ptr<KXModel>& settings) {
        KXMessagePackMap::KeyTable table =
            kxdata::keyTableFor(kxdata::keyFileLines(kxdata::collectKeyNames({settings})));
        KXMessagePackMap::installKeyTable(table);
        return table;
    }
};

TEST_F(GeneralSettingsTest, FreshInstanceStoresItsDefaults) {
    auto settings = KXModelGeneralSettings::shared();
    const KXMessagePackMap::KeyTable table = installKeysOf(settings);
    const std::string bytes = kxdata::packModels({settings}, false);
    msgpack::object_handle handle = msgpack::unpack(bytes.data(), bytes.size());
    const msgpack::object& map = handle.get();

    auto text = [&](const char* name) {
        const msgpack::object* attribute = entry(map, table, name);
        EXPECT_NE(attribute, nullptr) << name;
        return attribute ? entry(*attribute, table, "value")->as<std::string>() : std::string();
    };
    auto number = [&](const char* name) {
        return entry(*entry(map, table, name), table, "value")->as<int64_t>();
    };

    EXPECT_EQ(entry(map, table, "Class Name")->as<std::string>(), "KXModelGeneralSettings");
    EXPECT_EQ(text("Share Screen"), "Game Field Screen");
    EXPECT_EQ(text("Version Number"), "1.0");
    EXPECT_EQ(text("Application Name"), "Untitled");
    EXPECT_EQ(text("Comments"), "add comments here");
    EXPECT_EQ(text("Reset text"), "PLEASE NOTE:  You are about to reset all your game progress and start "
                                  "completely over.  Are you sure you want to do that?");
    EXPECT_EQ(text("Not Enough Currency Text"), "Sorry, you don't have enough currency!");
    EXPECT_EQ(text("User ID"), "");
    EXPECT_EQ(text("Score Type"), "");
    EXPECT_EQ(number("Last ID"), 0);
    EXPECT_EQ(number("Move Up Key"), 0x01000013);
    EXPECT_EQ(number("Move Down Key"), 0x01000015);
    EXPECT_EQ(number("Move Left Key"), 0x01000012);
    EXPECT_EQ(number("Move Right Key"), 0x01000014);
    EXPECT_EQ(number("Motor CW Key"), 88);
    EXPECT_EQ(number("Motor CCW Key"), 90);
    EXPECT_EQ(number("Rotate Left Key"), 44);
    EXPECT_EQ(number("Rotate Right Key"), 46);
    EXPECT_EQ(number("Shoot Key"), 32);
    EXPECT_EQ(number("Jump Key"), 74);
    EXPECT_FALSE(entry(*entry(map, table, "Use Encryption"), table, "value")->as<bool>());
    EXPECT_EQ(entry(*entry(map, table, "Orientation"), table, "enum")->as<int>(), 0);
    const msgpack::object* platforms = entry(map, table, "platformSpecificValues");
    ASSERT_NE(platforms, nullptr);
    EXPECT_EQ(platforms->type, msgpack::type::MAP);
    EXPECT_EQ(platforms->via.map.size, 0u);
    // A sprite reference stores nothing among the values.
    EXPECT_EQ(entry(map, table, "Icon"), nullptr);
    EXPECT_TRUE(settings->iconAttribute()->isExcludedFromAtlas());
}

TEST_F(GeneralSettingsTest, StoredLastIdDecidesTheNextModelId) {
    auto settings = KXModelGeneralSettings::shared();
    settings->lastIdAttribute()->setValue(500, true);
    installKeysOf(settings);
    const std::string bytes = kxdata::packModels({settings}, false);
    KXModelGeneralSettings::resetShared();
    KXModelController::shared()->setIdCounter(3);

    KXModelController::shared()->parseData(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(),
                                           0);
    EXPECT_EQ(KXModelGeneralSettings::shared()->lastId(), 500u);
    EXPECT_EQ(KXModelController::shared()->createModel("KXModelFont")->id(), 501u);
}

TEST_F(GeneralSettingsTest, OneSharedInstanceThatCloneHandsOutAndResetRenews) {
    auto first = KXModelGeneralSettings::shared();
    EXPECT_EQ(KXModelGeneralSettings::shared(), first);
    EXPECT_EQ(first->clone(true, false), first);
    EXPECT_EQ(KXModelController::shared()->getModel(first->id()), first);
    EXPECT_TRUE(first->isKindOf(KXModel::staticType()));
    EXPECT_TRUE(first->isKindOf(KXModelGeneralSettings::staticType()));

    first->applicationNameAttribute()->setValue("Changed", true);
    const uint32_t oldId = first->id();
    KXModelGeneralSettings::resetShared();
    EXPECT_EQ(KXModelController::shared()->getModel(oldId), nullptr);
    auto second = KXModelGeneralSettings::shared();
    EXPECT_NE(second, first);
    EXPECT_EQ(second->applicationName(), "Untitled");
    EXPECT_EQ(KXModelController::shared()->getModel(second->id()), second);
}

TEST_F(GeneralSettingsTest, PlatformValuesRoundTripAndUnknownKeysAreSkipped) {
    auto settings = KXModelGeneralSettings::shared();
    cocos2d::CCDictionary* android = cocos2d::CCDictionary::create();
    android->setObject(cocos2d::CCString::create("com.example"), "Bundle");
    settings->platformValues()->setObject(android, "android");
    const KXMessagePackMap::KeyTable table = installKeysOf(settings);
    const std::string bytes = kxdata::packModels({settings}, false);
    KXModelGeneralSettings::resetShared();

    KXModelController::shared()->parseData(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(),
                                           0);
    auto loaded = KXModelGeneralSettings::shared();
    ASSERT_EQ(loaded->platformValues()->count(), 1u);
    auto* android1 = dynamic_cast<cocos2d::CCDictionary*>(loaded->platformValues()->objectForKey("android"));
    ASSERT_NE(android1, nullptr);
    EXPECT_STREQ(android1->valueForKey("Bundle")->getCString(), "com.example");

    // Stored under key ids the table does not know: the platform and one entry.
    msgpack::zone zone;
    KXMessagePackMap map(zone);
    map.set("id", loaded->id());
    map.set("Class Name", "KXModelGeneralSettings");
    std::string encoded = map.packToBytes();
    // Append "platformSpecificValues": {999: {}, <android id>: {998: "x", <Bundle id>: "y"}}.
    encoded[0] = static_cast<char>(static_cast<unsigned char>(encoded[0]) + 1);
    msgpack::sbuffer extra;
    msgpack::packer<msgpack::sbuffer> packer(extra);
    packer.pack_uint32(static_cast<uint32_t>(table.at("platformSpecificValues")));
    packer.pack_map(2);
    packer.pack_uint32(999);
    packer.pack_map(0);
    packer.pack_uint32(static_cast<uint32_t>(table.at("android")));
    packer.pack_map(2);
    packer.pack_uint32(998);
    packer.pack(std::string("x"));
    packer.pack_uint32(static_cast<uint32_t>(table.at("Bundle")));
    packer.pack(std::string("y"));
    encoded.append(extra.data(), extra.size());

    KXDebugLogCapture log;
    KXModelController::shared()->parseData(reinterpret_cast<const unsigned char*>(encoded.data()),
                                           encoded.size(), 0);
    auto renewed = KXModelGeneralSettings::shared();
    EXPECT_EQ(log.lines().size(), 2u);
    ASSERT_EQ(renewed->platformValues()->count(), 1u);
    auto* android2 = dynamic_cast<cocos2d::CCDictionary*>(renewed->platformValues()->objectForKey("android"));
    ASSERT_NE(android2, nullptr);
    EXPECT_EQ(android2->count(), 1u);
    EXPECT_STREQ(android2->valueForKey("Bundle")->getCString(), "y");
}

TEST_F(GeneralSettingsTest, DictionaryFormFillsThePlainMembersOnlyFromNonEmptyValues) {
    auto settings = KXModelGeneralSettings::shared();
    cocos2d::CCDictionary* form = cocos2d::CCDictionary::create();
    auto valueEntry = [](const char* text) {
        cocos2d::CCDictionary* dictionary = cocos2d::CCDictionary::create();
        dictionary->setObject(cocos2d::CCString::create(text), "value");
        return dictionary;
    };
    form->setObject(valueEntry(""), "Gravity");
    form->setObject(valueEntry("{1.5,2}"), "Jump");
    form->setObject(valueEntry("0.5"), "Jump Timeout");
    form->setObject(valueEntry("false"), "Forced Movement");
    cocos2d::CCDictionary* platforms = cocos2d::CCDictionary::create();
    form->setObject(platforms, "platformSpecificValues");
    settings->lastIdAttribute()->setValue(40, true);

    settings->loadValuesFromDictionary(form);
    const auto& gameplay = settings->gameplayDefaults();
    EXPECT_FLOAT_EQ(gameplay.gravity.x, 0.0f);
    EXPECT_FLOAT_EQ(gameplay.gravity.y, -50.0f);
    EXPECT_FLOAT_EQ(gameplay.upForce.x, 1.5f);
    EXPECT_FLOAT_EQ(gameplay.upForce.y, 2.0f);
    EXPECT_FLOAT_EQ(gameplay.upForceDuration, 0.5f);
    EXPECT_FALSE(gameplay.forcedMovement);
    EXPECT_FLOAT_EQ(gameplay.backDeletionThreshold, 300.0f);
    EXPECT_EQ(settings->platformValues(), platforms);
    EXPECT_EQ(KXModelController::shared()->idCounter(), 40u);

    cocos2d::CCDictionary* saved = settings->saveValuesToDictionary();
    EXPECT_EQ(saved->objectForKey("platformSpecificValues"), platforms);
}
