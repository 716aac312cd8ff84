#pragma once

#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelComponent.h"

#include <memory>
#include <string>

// How often, and on which trigger, a unit spawns new objects.
class KXModelComponentSpawner : public KXModelComponent {
    KX_MODEL_IDENTITY(KXModelComponentSpawner, KXModelComponent)
    KX_MODEL_CREATE(KXModelComponentSpawner)
    KX_MODEL_CLONE(KXModelComponentSpawner)

public:
    static constexpr const char* kDefaultObjectName = "Spawner";

    explicit KXModelComponentSpawner(const std::string& name);
    KXModelComponentSpawner(const KXModelComponentSpawner& source);

    float spawnRate() const;
    const std::string& spawnAction() const;
    void setSpawnAction(const std::string& action);
    // Clamped, stored and announced only when it differs.
    void setSpawnRate(float rate);
    // The rate spread by its variable part: value + variance x (2 r / 32767 - 1) with a 15-bit
    // draw r, so always within value +- variance.
    float randomSpawnRate() const;

private:
    KXAttributeFloat* m_spawnRate = nullptr;
    KXAttributeStringList* m_spawnAction = nullptr;
};
