#pragma once

#include "model/classes/KXModelComponent.h"

#include <memory>
#include <string>

class KXAttributeBool;

// Which running score counters (coins, points, distance) are cleared when the component acts.
class KXModelComponentScore : public KXModelComponent {
    KX_MODEL_IDENTITY(KXModelComponentScore, KXModelComponent)
    KX_MODEL_CREATE(KXModelComponentScore)
    KX_MODEL_CLONE(KXModelComponentScore)

public:
    static constexpr const char* kDefaultObjectName = "Score";

    explicit KXModelComponentScore(const std::string& name);
    KXModelComponentScore(const KXModelComponentScore& source);

    bool resetCoins() const;
    bool resetPoints() const;
    bool resetDistance() const;

    // Null in a copy whose source lacked the attribute or held it under another class.
    KXAttributeBool* resetCoinsAttribute() const { return m_resetCoins; }
    KXAttributeBool* resetPointsAttribute() const { return m_resetPoints; }
    KXAttributeBool* resetDistanceAttribute() const { return m_resetDistance; }

private:
    KXAttributeBool* m_resetCoins = nullptr;
    KXAttributeBool* m_resetPoints = nullptr;
    KXAttributeBool* m_resetDistance = nullptr;
};
