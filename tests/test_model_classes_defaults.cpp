// Defaults that only show when a game leaves a value out: a record holding nothing but its id
// and class name, read the way the loader reads an attributes file, gives a model whose every
// own attribute reads its class's default.

#include "model/KXMessagePackMap.h"
#include "model/KXModelController.h"
#include "model/classes/KXModelCasts.h"
#include "model/classes/KXModelComponentIsoJump.h"
#include "model/classes/KXModelObjectCharacterSelector.h"
#include "model/classes/KXModelObjectEventObserver.h"
#include "model/classes/KXModelObjectFlag.h"
#include "model/classes/KXModelObjectTrail.h"
#include "model/classes/KXModelPolygon.h"
#include "model/references/KXAttributeSprite.h"
#include "support/model_class_helpers.h"
#include "support/model_test_models.h"
#include "tools/kxdata/KXGameWriter.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using cocos2d::CCPoint;

namespace {

constexpr uint32_t kLoadedId = 4242;

class LoadedDefaults : public ::testing::Test {
protected:
    void SetUp() override { resetModelCore(); }
    void TearDown() override { resetModelCore(); }

    // The model that an attributes file holding one bare record of class T makes. The key table
    // knows every attribute name of the class, so an absent value is absent from the record only.
    template <class T> std::shared_ptr<T> loadedWithoutValues() {
        KXMessagePackMap::installKeyTable(
            kxdata::keyTableFor(kxdata::keyFileLines(kxdata::collectKeyNames({T::create()}))));
        msgpack::zone zone;
        KXMessagePackMap record(zone);
        record.set("id", kLoadedId);
        record.set("Class Name", std::string(T::staticClassName()));
        const std::string bytes = record.packToBytes();
        KXModelController* store = KXModelController::shared();
        store->parseData(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), 0);
        std::shared_ptr<T> loaded = modelCast<T>(store->getModel(kLoadedId));
        EXPECT_TRUE(loaded) << T::staticClassName();
        return loaded;
    }
};

// Whether the "Texture" sprite attribute keeps the sprites it refers to out of the atlases.
bool textureKeptOutOfAtlases(const KXModel& model) {
    const auto* texture = dynamic_cast<const KXAttributeSprite*>(model.attribute("Texture"));
    return texture != nullptr && texture->isExcludedFromAtlas();
}

TEST_F(LoadedDefaults, EventObserverWaitsForAThousandOnePlayAndASecondAndPauses) {
    auto observer = loadedWithoutValues<KXModelObjectEventObserver>();
    ASSERT_TRUE(observer);
    EXPECT_EQ(observer->name(), "Event Observer");
    EXPECT_EQ(observer->eventType(), "");
    EXPECT_FLOAT_EQ(observer->limitNumber(), 1000.0f);
    EXPECT_FLOAT_EQ(observer->playsBeforeRedirect(), 1.0f);
    EXPECT_EQ(observer->time(), 1000u);
    EXPECT_EQ(observer->function(), "");
    EXPECT_TRUE(observer->pauseCurrentWorld());
}

TEST_F(LoadedDefaults, CharacterSelectorShowsLabelsAHundredApartAndSpreadsAHundred) {
    auto selector = loadedWithoutValues<KXModelObjectCharacterSelector>();
    ASSERT_TRUE(selector);
    EXPECT_TRUE(selector->labelVisibility());
    EXPECT_FLOAT_EQ(selector->labelVerticalSpacing(), 100.0f);
    EXPECT_EQ(selector->labelName(), "");
    EXPECT_EQ(selector->labelNameValue(), 0);
    EXPECT_FALSE(selector->unlockButton());
    EXPECT_FALSE(selector->unlockYes());
    EXPECT_FALSE(selector->unlockNo());
    EXPECT_FALSE(selector->unlockSuggestion());
    EXPECT_FLOAT_EQ(selector->spread(), 100.0f);
}

TEST_F(LoadedDefaults, JumpRisesFiftyUnderAHundredOfGravityOnceForThreeQuartersOfASecond) {
    auto jump = loadedWithoutValues<KXModelComponentIsoJump>();
    ASSERT_TRUE(jump);
    EXPECT_EQ(jump->name(), "Ghost Jump");
    EXPECT_TRUE(jump->jumpVelocity().equals(CCPoint(0.0f, 50.0f)));
    EXPECT_TRUE(jump->jumpGravity().equals(CCPoint(0.0f, 100.0f)));
    EXPECT_FLOAT_EQ(jump->jumpSpeed(), 1.0f);
    EXPECT_FLOAT_EQ(jump->jumpDuration(), 0.75f);
    EXPECT_FLOAT_EQ(jump->jumpTimeout(), 0.25f);
    EXPECT_FLOAT_EQ(jump->jumpCount(), 1.0f);
    EXPECT_FALSE(jump->continuousJump());
    EXPECT_FALSE(jump->activateOnRelease());
    EXPECT_EQ(jump->event(), "");
    EXPECT_FALSE(jump->syncronizeAnimation());
    ASSERT_TRUE(jump->collisionShape()); // the placeholder: a polygon without points
    EXPECT_TRUE(jump->collisionShape()->isEmpty());
    EXPECT_FALSE(jump->animation());
    EXPECT_FALSE(jump->ground());
    EXPECT_FALSE(jump->jumpSound());
    EXPECT_FALSE(jump->doubleJumpSound());
}

TEST_F(LoadedDefaults, FlagIsFiftyWideTwoHundredLongAndWavesAHundred) {
    auto flag = loadedWithoutValues<KXModelObjectFlag>();
    ASSERT_TRUE(flag);
    EXPECT_EQ(flag->name(), "Flag");
    EXPECT_FALSE(flag->texture());
    EXPECT_TRUE(textureKeptOutOfAtlases(*flag));
    EXPECT_FLOAT_EQ(flag->startWidth(), 50.0f);
    EXPECT_FLOAT_EQ(flag->endWidth(), 50.0f);
    EXPECT_FLOAT_EQ(flag->speed(), 100.0f);
    EXPECT_FLOAT_EQ(flag->length(), 200.0f);
    EXPECT_FLOAT_EQ(flag->waveHeight(), 100.0f);
    EXPECT_FLOAT_EQ(flag->waveLength(), 100.0f);
}

TEST_F(LoadedDefaults, TrailNarrowsFromFifteenToFiveOverThreeHundredWithoutAWave) {
    auto trail = loadedWithoutValues<KXModelObjectTrail>();
    ASSERT_TRUE(trail);
    EXPECT_EQ(trail->name(), "Trail");
    EXPECT_FALSE(trail->texture());
    EXPECT_TRUE(textureKeptOutOfAtlases(*trail));
    EXPECT_FLOAT_EQ(trail->startWidth(), 15.0f);
    EXPECT_FLOAT_EQ(trail->endWidth(), 5.0f);
    EXPECT_FLOAT_EQ(trail->speed(), 50.0f);
    EXPECT_FLOAT_EQ(trail->length(), 300.0f);
    EXPECT_FLOAT_EQ(trail->waveHeight(), 0.0f);
    EXPECT_FLOAT_EQ(trail->waveLength(), 50.0f);
}

} // namespace
