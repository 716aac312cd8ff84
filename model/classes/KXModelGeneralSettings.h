#pragma once

#include "model/classes/KXBaseModelGeneralSettings.h"

#include <memory>
#include <string>

// The game-wide settings: one process-wide instance, which the registry's creator and every
// clone hand out instead of making a new model.
class KXModelGeneralSettings : public KXBaseModelGeneralSettings {
    KX_MODEL_IDENTITY(KXModelGeneralSettings, KXBaseModelGeneralSettings)

public:
    // The single instance; made, given its self pointer and added to the store on first use.
    static std::shared_ptr<KXModelGeneralSettings> shared();
    // Takes the instance out of the store and lets go of it; the next shared() makes a new one.
    static void resetShared();

    // Registry creator: the shared instance.
    static std::shared_ptr<KXModel> create();

    explicit KXModelGeneralSettings(const std::string& name);

    // The shared instance itself, whatever the flags say.
    std::shared_ptr<KXModel> clone(bool deep, bool registerClone) const override;
};
