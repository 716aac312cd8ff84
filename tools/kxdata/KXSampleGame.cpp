#include "tools/kxdata/KXSampleGame.h"

#include <stdexcept>

#include "cocos2d.h"
#include "model/KXModelController.h"
#include "model/classes/KXModelCasts.h"
#include "model/classes/KXModelGeneralSettings.h"
#include "model/classes/KXModelSpriteContainer.h"
#include "model/references/KXAttributeSprite.h"
#include "tools/kxdata/sample_assets.h"
#include "tools/kxdata/sample_controls.h"
#include "tools/kxdata/sample_media.h"
#include "tools/kxdata/sample_more.h"
#include "tools/kxdata/sample_scenes.h"

namespace kxdata {

std::shared_ptr<KXModel> SampleGame::make(const std::string& className, const std::string& name) {
    std::shared_ptr<KXModel> model = KXModelController::shared()->createModel(className);
    if (!model) {
        throw std::runtime_error("no model class " + className);
    }
    model->setName(name);
    models.push_back(model);
    return model;
}

namespace {

struct Media {
    std::shared_ptr<KXModel> iconSprites;
    std::shared_ptr<KXModel> characterSprites;
};

void addSettings(SampleGame& game) {
    game.settings = KXModelGeneralSettings::shared();
    game.models.push_back(game.settings);
    KXModelGeneralSettings& settings = *game.settings;
    settings.setName("Settings");
    settings.zdVersionAttribute()->setValue("4.2.1", true);
    settings.userIdAttribute()->setValue(kSampleUserId, true);
    settings.applicationNameAttribute()->setValue("Sample Runner", true);
    settings.versionNumberAttribute()->setValue("1.3", true);
    settings.buildDateAttribute()->setValue("2026-12-07", true);
    settings.scoreTypeAttribute()->setValue("Coins Collected", true);
    settings.orientationAttribute()->setValue(KXBaseModelGeneralSettings::OrientationLandscape, true);
    settings.screenAdjustmentAttribute()->setValue(KXBaseModelGeneralSettings::ScreenAdjustmentFixedHeight,
                                                   true);
    settings.edgeAttribute(2)->setValue(KXObjectFrameEdgeKill, true);
    settings.gameAngleDirectionAttribute()->setValue(12.5f, true);
    settings.useEncryptionAttribute()->setValue(true, true);
    settings.objectFrameAttribute()->setValue(cocos2d::CCRect(0.0f, 0.0f, 1136.0f, 640.0f), true);
    settings.designSizeAttribute()->setValue(cocos2d::CCSize(1136.0f, 640.0f), true);
    settings.jumpKeyAttribute()->setValue('K', true);

    cocos2d::CCDictionary* android = cocos2d::CCDictionary::create();
    android->setObject(cocos2d::CCString::create("com.example.runner"), "Bundle");
    android->setObject(cocos2d::CCString::create("ca-app-pub-1"), "Ad Unit");
    cocos2d::CCDictionary* desktop = cocos2d::CCDictionary::create();
    desktop->setObject(cocos2d::CCString::create("runner"), "Bundle");
    settings.platformValues()->setObject(android, "android");
    settings.platformValues()->setObject(desktop, "desktop");
}

Media addMedia(SampleGame& game) {
    Media media;
    media.iconSprites = game.make("KXModelSpriteContainer", "Icons");
    media.characterSprites = game.make("KXModelSpriteContainer", "Runner Frames");
    for (const char* frame : {"run 1", "run 2", "jump"}) {
        media.characterSprites->addChild(game.make("KXModelSprite", frame), true);
    }
    media.iconSprites->addChild(game.make("KXModelSprite", "icon"), true);
    std::shared_ptr<KXModel> atlas = game.make("KXModelAtlas", "Main Atlas");
    atlas->addChild(game.make("KXModelAnimation", "Run Cycle"), true);
    game.make("KXModelSound", "Jump Sound");
    game.make("KXModelSound", "Music");
    game.make("KXModelFont", "Title Font");
    game.make("KXModelFont", "Body Font");
    game.make("KXModelFont", "Score Font");

    if (auto icon = modelCast<KXModelSpriteContainer>(media.iconSprites)) {
        game.settings->iconAttribute()->setValue(icon, true);
    }
    return media;
}

std::shared_ptr<KXModel> addLoadingScreen(SampleGame& game) {
    std::shared_ptr<KXModel> screen = game.make("KXModelScreen", "Loading Screen");
    screen->addChild(game.make("KXModelObjectLabel", "Loading"), true);
    screen->addChild(game.make("KXModelObjectLoadingBar", "Progress"), true);
    screen->addChild(game.make("KXModelObjectImage", "Splash"), true);
    return screen;
}

std::shared_ptr<KXModel> addMenuScreens(SampleGame& game) {
    std::shared_ptr<KXModel> start = game.make("KXNodeUIStart", "");
    std::shared_ptr<KXModel> title = game.make("KXModelScreen", "Title Screen");
    title->addChild(game.make("KXModelObjectLabel", "Title"), true);
    title->addChild(game.make("KXModelObjectButton", "Play"), true);
    title->addChild(game.make("KXModelObjectButtonSoundControl", "Sound"), true);
    start->addChild(title, true);

    std::shared_ptr<KXModel> shopNode = game.make("KXNodeUI", "");
    std::shared_ptr<KXModel> shop = game.make("KXModelScreen", "Shop Screen");
    shop->addChild(game.make("KXModelObjectButtonPurchase", "Buy Coins"), true);
    shop->addChild(game.make("KXModelObjectButtonCharacterUnlock", "Unlock Runner"), true);
    shop->addChild(game.make("KXModelObjectLabel", "Coins"), true);
    shopNode->addChild(shop, true);
    return start;
}

void addAssets(SampleGame& game, const Media& media) {
    std::shared_ptr<KXModel> runner = game.make("KXModelAssetCharacter", "Runner");
    runner->addChild(game.make("KXModelPolygon", "Body"), true);
    runner->addChild(game.make("KXModelCircle", "Feet"), true);
    runner->addChild(game.make("KXModelComponentHealth", "Health"), true);
    runner->addChild(game.make("KXModelComponentMove", "Advanced Move"), true);
    runner->addChild(media.characterSprites, true);

    std::shared_ptr<KXModel> coin = game.make("KXModelAssetPowerup", "Coin");
    coin->addChild(game.make("KXModelCircle", "Coin Shape"), true);
    coin->addChild(game.make("KXModelComponentScore", "Score"), true);

    std::shared_ptr<KXModel> crate = game.make("KXModelAssetObstacle", "Crate");
    crate->addChild(game.make("KXModelPolygon", "Crate Shape"), true);
    crate->addChild(game.make("KXModelComponentDamage", "Damage"), true);
}

void addGameScene(SampleGame& game) {
    std::shared_ptr<KXModel> node = game.make("KXNodeScene", "");
    std::shared_ptr<KXModel> scene = game.make("KXModelScreenScene", "Game Field Screen");
    node->addChild(scene, true);
    scene->addChild(game.make("KXModelComponentDeletionThreshold", "Deletion"), true);
    scene->addChild(game.make("KXModelComponentForcedMovement", "Forced Movement"), true);
    for (int index = 1; index <= 3; ++index) {
        std::shared_ptr<KXModel> section =
            game.make("KXModelLevelSection", "Section " + std::to_string(index));
        section->addChild(game.make("KXModelObjectBackground", "Sky"), true);
        section->addChild(game.make("KXModelObjectAssetPowerup", "Coin Spot"), true);
        section->addChild(game.make("KXModelObject", "Ground"), true);
        scene->addChild(section, true);
    }
    std::shared_ptr<KXModel> linker = game.make("KXModelLinker", "Section Links");
    scene->addChild(linker, true);
    scene->addChild(game.make("KXModelObjectAssetCharacter", "Player"), true);
}

} // namespace

SampleGame buildSampleGame() {
    KXModelController::shared()->clear();
    SampleGame game;
    addSettings(game);
    const Media media = addMedia(game);
    addLoadingScreen(game);
    addMenuScreens(game);
    addAssets(game, media);
    addGameScene(game);
    addSampleScenes(game);
    addSampleAssets(game);
    addSampleControls(game);
    addSampleMore(game);
    // Last: it gives every sprite, atlas and shape made above its sizes, sheet and points.
    addSampleMedia(game);
    storeReferencedModels(game);

    uint32_t lastId = 0;
    for (const std::shared_ptr<KXModel>& model : game.models) {
        lastId = std::max(lastId, model->id());
    }
    game.settings->lastIdAttribute()->setValue(lastId, true);
    return game;
}

} // namespace kxdata
