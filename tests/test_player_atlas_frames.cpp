// The end of loading hands every atlas's frames to the frame cache, from the property list the
// atlas itself names: the exporter writes the id into that name as a signed number, so an id of
// 2^31 or more has a minus sign there.
#include "model/KXDebugLog.h"
#include "model/classes/KXModelAtlas.h"
#include "model/classes/KXModelSprite.h"
#include "player/app/KXPAppDelegate.h"
#include "support/sample_game_support.h"
#include "support/scene_test_support.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

using namespace cocos2d;

namespace {

class AtlasFrames : public kxtest::SceneTest {};

TEST_F(AtlasFrames, EachAtlasIsReadFromItsOwnPropertyListWhateverItsId) {
    kxtest::SampleGame game;
    std::string failure;
    if (!game.write(&failure)) {
        GTEST_SKIP() << failure;
    }
    ASSERT_TRUE(game.load(&failure)) << failure;
    const auto atlases = getModels<KXModelAtlas>();
    ASSERT_FALSE(atlases.empty());
    const auto& atlas = atlases.front();
    ASSERT_FALSE(atlas->sprites().empty());
    const std::string exported = atlas->plistPath();
    // 2147483653 written as a signed 32-bit number: the name the exporter gives that atlas's list.
    const std::string signedName = exported.substr(0, exported.rfind('/') + 1) + "atlas_ID-2147483643.plist";
    atlas->setId(2147483653u);
    ASSERT_EQ(std::rename(exported.c_str(), signedName.c_str()), 0);
    kxtest::SampleGame::purgeCaches();

    KXDebugLogCapture log;
    KXPAppDelegate::loadAtlasFrames();
    EXPECT_TRUE(log.contains(signedName)) << signedName;
    for (const auto& sprite : atlas->sprites()) {
        const auto& placed = static_cast<const KXModelSprite&>(*sprite);
        EXPECT_NE(placed.spriteFrame(), nullptr) << placed.spriteFrameName();
    }
}

} // namespace
