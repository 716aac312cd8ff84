#include "player/objects/buttons/KXPObjectButtonUrl.h"

#include "model/KXDebugLog.h"
#include "model/classes/KXModelCasts.h"
#include "model/classes/KXModelObjectButtonUrl.h"
#include "player/services/KXServices.h"

void KXPObjectButtonUrl::activate() {
    const auto model = modelCast<KXModelObjectButtonUrl>(m_model);
    if (model && !model->url().empty()) {
        KXServices::shared()->openUrl(model->url());
    } else {
        debugLog("Button URL is empty");
    }
}
