#include "model/classes/KXModelComponentWakeup.h"

#include "model/classes/KXAttributeBinding.h"

namespace {
constexpr const char* kWakeUp = "Wake Up";
constexpr const char* kWakeupDistance = "Wakeup Distance";
constexpr const char* kSleep = "Sleep";
constexpr const char* kSleepDistance = "Sleep Distance";
} // namespace

KXModelComponentWakeup::KXModelComponentWakeup(const std::string& name)
    : KXModelComponent(name), m_wakeUp(new KXAttributeStringList(kWakeUp, this)),
      m_wakeupDistance(new KXAttributeFloat(kWakeupDistance, this, 0)),
      m_sleep(new KXAttributeStringList(kSleep, this)),
      m_sleepDistance(new KXAttributeFloat(kSleepDistance, this, 0)) {}

KXModelComponentWakeup::KXModelComponentWakeup(const KXModelComponentWakeup& source)
    : KXModelComponent(source), m_wakeUp(boundAttribute<KXAttributeStringList>(*this, kWakeUp)),
      m_wakeupDistance(boundAttribute<KXAttributeFloat>(*this, kWakeupDistance)),
      m_sleep(boundAttribute<KXAttributeStringList>(*this, kSleep)),
      m_sleepDistance(boundAttribute<KXAttributeFloat>(*this, kSleepDistance)) {}

const std::string& KXModelComponentWakeup::wakeUp() const {
    return attributeText(m_wakeUp);
}
float KXModelComponentWakeup::wakeupDistance() const {
    return attributeValue(m_wakeupDistance);
}
const std::string& KXModelComponentWakeup::sleep() const {
    return attributeText(m_sleep);
}
float KXModelComponentWakeup::sleepDistance() const {
    return attributeValue(m_sleepDistance);
}
