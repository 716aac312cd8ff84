#include "player/objects/buttons/KXPObjectButtonFacebook.h"

#include "model/KXDebugLog.h"
#include "model/classes/KXModelCasts.h"
#include "model/classes/KXModelObjectButtonFacebook.h"
#include "player/services/KXServices.h"

void KXPObjectButtonFacebook::activate() {
    const auto model = modelCast<KXModelObjectButtonFacebook>(m_model);
    if (model && (!model->facebookId().empty() || !model->url().empty())) {
        KXServices::shared()->openFacebookPage(model->url(), model->facebookId());
    } else {
        debugLog("Facebook button URL and ID is empty");
    }
}
