// The demo's general settings: a landscape game that adapts its design area to the window.
#include "model/attributes/KXAttributeGeometry.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelGeneralSettings.h"
#include "tools/kxdata/demo/demo_game.h"

namespace kxdata {
namespace demo {

void addDemoSettings(DemoGame& game) {
    game.settings = KXModelGeneralSettings::shared();
    game.models.push_back(game.settings);
    KXModelGeneralSettings& settings = *game.settings;
    settings.setName("Settings");
    settings.zdVersionAttribute()->setValue("4.2.1", true);
    settings.userIdAttribute()->setValue(kDemoUserId, true);
    settings.applicationNameAttribute()->setValue("KX Demo", true);
    settings.versionNumberAttribute()->setValue("1.0", true);
    settings.buildDateAttribute()->setValue("2026-12-07", true);
    settings.scoreTypeAttribute()->setValue("Coins Collected", true);
    settings.orientationAttribute()->setValue(KXBaseModelGeneralSettings::OrientationLandscape, true);
    settings.screenAdjustmentAttribute()->setValue(KXBaseModelGeneralSettings::ScreenAdjustmentAutomatic,
                                                   true);
    settings.objectFrameAttribute()->setValue(cocos2d::CCRect(0.0f, 0.0f, kWidth, kHeight), true);
    settings.designSizeAttribute()->setValue(cocos2d::CCSize(kWidth, kHeight), true);
    settings.resetTextAttribute()->setValue("Forget every score and purchase?", true);
    settings.notEnoughCurrencyTextAttribute()->setValue("Not enough coins", true);
}

} // namespace demo
} // namespace kxdata
