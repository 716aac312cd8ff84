#include "player/app/KXPRunEnd.h"

#include "cocos2d.h"
#include "model/KXModelController.h"
#include "player/sound/KXSound.h"

void endPlayerRun() {
    KXSound::stopGroup(KXSound::kEveryGroup, false);
    KXModelController::shared()->clear();
    // The font descriptions the labels left in the cache.
    cocos2d::CCLabelBMFont::purgeCachedData();
    cocos2d::CCEGLView::purgeSharedOpenGLView();
}
