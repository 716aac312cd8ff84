#include "player/KXPScreensController.h"

KXPScreensController* KXPScreensController::shared() {
    static KXPScreensController* instance = new KXPScreensController();
    return instance;
}
