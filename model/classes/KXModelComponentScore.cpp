#include "model/classes/KXModelComponentScore.h"

#include "model/attributes/KXAttributeNumbers.h"
#include "model/classes/KXAttributeBinding.h"

namespace {
constexpr const char* kResetCoins = "Reset Coins";
constexpr const char* kResetPoints = "Reset Points";
constexpr const char* kResetDistance = "Reset Distance";
} // namespace

KXModelComponentScore::KXModelComponentScore(const std::string& name)
    : KXModelComponent(name), m_resetCoins(new KXAttributeBool(kResetCoins, this)),
      m_resetPoints(new KXAttributeBool(kResetPoints, this)),
      m_resetDistance(new KXAttributeBool(kResetDistance, this)) {}

KXModelComponentScore::KXModelComponentScore(const KXModelComponentScore& source)
    : KXModelComponent(source), m_resetCoins(boundAttribute<KXAttributeBool>(*this, kResetCoins)),
      m_resetPoints(boundAttribute<KXAttributeBool>(*this, kResetPoints)),
      m_resetDistance(boundAttribute<KXAttributeBool>(*this, kResetDistance)) {}

bool KXModelComponentScore::resetCoins() const {
    return attributeValue(m_resetCoins);
}
bool KXModelComponentScore::resetPoints() const {
    return attributeValue(m_resetPoints);
}
bool KXModelComponentScore::resetDistance() const {
    return attributeValue(m_resetDistance);
}
