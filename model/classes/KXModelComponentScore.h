#pragma once

#include "model/classes/KXModelComponent.h"

#include <memory>
#include <string>

class KXAttributeBool;

// Which running score counters (coins, points, distance) are cleared when the component acts.
class KXModelComponentScore : public KXModelComponent {
    KX_MODEL_IDENTITY(KXModelComponentScore, KXModelComponent)

public:
    static constexpr const char* kDefaultObjectName = "Score";

    static std::shared_ptr<KXModel> create();
    static std::shared_ptr<KXModel> createCopy(const KXModelComponentScore& source);

    explicit KXModelComponentScore(const std::string& name);
    KXModelComponentScore(const KXModelComponentScore& source);

    std::shared_ptr<KXModel> clone(bool deep, bool registerClone) const override;

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
