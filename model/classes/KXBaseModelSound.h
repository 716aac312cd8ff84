#pragma once

#include "model/KXModel.h"

#include <string>

// One sound file of the game, named after the model's id; no stored attribute of its own.
class KXBaseModelSound : public KXModel {
public:
    explicit KXBaseModelSound(const std::string& name);
    KXBaseModelSound(const KXBaseModelSound& source);

    // data directory + "/sounds/KXModelSound_ID<id>.mp3"
    virtual std::string soundPath() const;
};
