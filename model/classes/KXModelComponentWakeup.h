#pragma once

#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelComponent.h"

#include <memory>
#include <string>

// When a unit wakes up and when it goes back to sleep.
class KXModelComponentWakeup : public KXModelComponent {
    KX_MODEL_IDENTITY(KXModelComponentWakeup, KXModelComponent)
    KX_MODEL_CREATE(KXModelComponentWakeup)
    KX_MODEL_CLONE(KXModelComponentWakeup)

public:
    static constexpr const char* kDefaultObjectName = "Wake Up";

    explicit KXModelComponentWakeup(const std::string& name);
    KXModelComponentWakeup(const KXModelComponentWakeup& source);

    const std::string& wakeUp() const;
    float wakeupDistance() const;
    const std::string& sleep() const;
    float sleepDistance() const;

private:
    KXAttributeStringList* m_wakeUp = nullptr;
    KXAttributeFloat* m_wakeupDistance = nullptr;
    KXAttributeStringList* m_sleep = nullptr;
    KXAttributeFloat* m_sleepDistance = nullptr;
};
