#pragma once

#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelComponent.h"

#include <memory>
#include <string>

// When a unit wakes up and when it goes back to sleep.
class KXModelComponentWakeup : public KXModelComponent {
    KX_MODEL_IDENTITY(KXModelComponentWakeup, KXModelComponent)

public:
    static constexpr const char* kDefaultObjectName = "Wake Up";

    static std::shared_ptr<KXModel> create();
    static std::shared_ptr<KXModel> createCopy(const KXModelComponentWakeup& source);

    explicit KXModelComponentWakeup(const std::string& name);
    KXModelComponentWakeup(const KXModelComponentWakeup& source);

    std::shared_ptr<KXModel> clone(bool deep, bool registerClone) const override;

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
