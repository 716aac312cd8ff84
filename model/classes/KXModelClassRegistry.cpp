// The controller's class registry: one creator per stored class name.

#include "model/KXModelController.h"
#include "model/classes/KXModelClassList.h"

namespace {

struct RegistryFiller {
    KXModelController& store;

    template <class T> void visit() { store.registerClass<T>(); }
};

} // namespace

void KXModelController::registerClasses() {
    RegistryFiller filler{*this};
    visitRegisteredModelClasses(filler);
    // The shared general settings leave the store with everything else.
    addClearHook([] { KXModelGeneralSettings::resetShared(); });
}
