#include "model/classes/KXModelComponentSpawner.h"

#include "model/KXNumeric.h"
#include "model/classes/KXAttributeBinding.h"

namespace {
constexpr const char* kSpawnRate = "Spawn Rate";
constexpr const char* kSpawnAction = "Spawn Action";
} // namespace

KXModelComponentSpawner::KXModelComponentSpawner(const std::string& name)
    : KXModelComponent(name), m_spawnRate(new KXAttributeFloat(kSpawnRate, this, 0)),
      m_spawnAction(new KXAttributeStringList(kSpawnAction, this)) {
    m_spawnRate->setValue(1.0f, true);
}

KXModelComponentSpawner::KXModelComponentSpawner(const KXModelComponentSpawner& source)
    : KXModelComponent(source), m_spawnRate(boundAttribute<KXAttributeFloat>(*this, kSpawnRate)),
      m_spawnAction(boundAttribute<KXAttributeStringList>(*this, kSpawnAction)) {}

float KXModelComponentSpawner::spawnRate() const {
    return attributeValue(m_spawnRate);
}

const std::string& KXModelComponentSpawner::spawnAction() const {
    return attributeText(m_spawnAction);
}

void KXModelComponentSpawner::setSpawnAction(const std::string& action) {
    if (m_spawnAction != nullptr) {
        m_spawnAction->setValue(action);
    }
}

void KXModelComponentSpawner::setSpawnRate(float rate) {
    if (m_spawnRate != nullptr) {
        m_spawnRate->setValue(rate);
    }
}

float KXModelComponentSpawner::randomSpawnRate() const {
    if (m_spawnRate == nullptr) {
        return 0.0f;
    }
    // glibc's rand() reaches 2^31-1: the spread needs the 15-bit draw the formula was made for.
    return m_spawnRate->value() + m_spawnRate->variableValue() * kx::randomSignedUnit();
}
