#include "model/classes/KXModelGeneralSettings.h"

#include "model/KXModelController.h"

namespace {

std::shared_ptr<KXModelGeneralSettings>& sharedInstance() {
    static std::shared_ptr<KXModelGeneralSettings> instance;
    return instance;
}

} // namespace

std::shared_ptr<KXModelGeneralSettings> KXModelGeneralSettings::shared() {
    std::shared_ptr<KXModelGeneralSettings>& instance = sharedInstance();
    if (!instance) {
        // Installed by shared() rather than by the constructor, so that a settings model built
        // elsewhere is never owned twice.
        instance = KXModel::makeShared<KXModelGeneralSettings>("");
        KXModelController::shared()->addModel(instance);
    }
    return instance;
}

void KXModelGeneralSettings::resetShared() {
    std::shared_ptr<KXModelGeneralSettings>& instance = sharedInstance();
    if (!instance) {
        return;
    }
    if (KXModelController* store = KXModelController::existing()) {
        store->removeModel(instance);
    }
    instance.reset();
}

std::shared_ptr<KXModel> KXModelGeneralSettings::create() {
    return shared();
}

KXModelGeneralSettings::KXModelGeneralSettings(const std::string& name) : KXBaseModelGeneralSettings(name) {}

std::shared_ptr<KXModel> KXModelGeneralSettings::clone(bool /*deep*/, bool /*registerClone*/) const {
    return shared();
}
