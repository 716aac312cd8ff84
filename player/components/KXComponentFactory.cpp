// The component factory: one row per component model class that has a runtime component,
// found by the model's exact class. Adding a kind: include its header and put its maker in its
// row, e.g. {KXModelComponentMotor::staticType(), "motor", &makeComponent<KXComponentMotor>}.
// A row whose maker is null is a kind this build cannot make yet: the model is logged and skipped.
// Each component made is traced under its row's name (player/KXPKinds.h).

#include "player/components/KXComponent.h"

#include "model/KXDebugLog.h"
#include "model/classes/KXModelCasts.h"
#include "model/classes/KXModelComponent.h"
#include "model/classes/KXModelComponentHealth.h"
#include "model/classes/KXModelComponentIsoJump.h"
#include "model/classes/KXModelComponentMotor.h"
#include "model/classes/KXModelComponentMove.h"
#include "model/classes/KXModelComponentRotationMapper.h"
#include "model/classes/KXModelComponentSlide.h"
#include "player/base/KXPKinds.h"
#include "player/components/KXComponentHealth.h"
#include "player/components/KXComponentIsoJump.h"
#include "player/components/KXComponentMotor.h"
#include "player/components/KXComponentMove.h"
#include "player/components/KXComponentRotationMapper.h"
#include "player/components/KXComponentSlide.h"

namespace {
constexpr const char* kFactory = "component";

struct ComponentKind {
    uint32_t modelType;
    const char* name;
    KXComponent* (*make)();
};

template <class Component> KXComponent* makeComponent() {
    return new Component();
}

const ComponentKind kComponentKinds[] = {
    {KXModelComponentMotor::staticType(), "motor", &makeComponent<KXComponentMotor>},
    {KXModelComponentIsoJump::staticType(), "iso-jump", &makeComponent<KXComponentIsoJump>},
    {KXModelComponentSlide::staticType(), "slide", &makeComponent<KXComponentSlide>},
    {KXModelComponentMove::staticType(), "move", &makeComponent<KXComponentMove>},
    {KXModelComponentRotationMapper::staticType(), "rotation-mapper",
     &makeComponent<KXComponentRotationMapper>},
    {KXModelComponentHealth::staticType(), "health", &makeComponent<KXComponentHealth>},
};
} // namespace

KXComponent* KXComponent::create(const std::shared_ptr<KXModel>& model) {
    if (!model) {
        return nullptr;
    }
    for (const ComponentKind& kind : kComponentKinds) {
        if (kind.modelType != model->typeId()) {
            continue;
        }
        if (kind.make == nullptr) {
            debugLog("[KXComponent] create: cannot make a %s component yet (model %u \"%s\")", kind.name,
                     model->id(), model->name().c_str());
            return nullptr;
        }
        KXComponent* component = kind.make();
        component->setModel(std::static_pointer_cast<KXModelComponent>(model));
        kxKindMade(kFactory, kind.name);
        return component;
    }
    return nullptr;
}

KXPKindTable KXComponent::kindTable() {
    KXPKindTable table{kFactory, {}};
    for (const ComponentKind& kind : kComponentKinds) {
        table.rows.push_back(kind.name);
    }
    return table;
}
