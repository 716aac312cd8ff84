#include "model/classes/KXBaseModelObjectEventObserver.h"

#include "model/classes/KXAttributeBinding.h"

namespace {
constexpr const char* kEventType = "Event Type";
constexpr const char* kLimitNumber = "Limit Number";
constexpr const char* kPlaysBeforeRedirect = "Plays Before Redirect";
constexpr const char* kTime = "Time";
constexpr const char* kFunction = "Function";
constexpr const char* kPauseCurrentWorld = "Pause Current World";
} // namespace

KXBaseModelObjectEventObserver::KXBaseModelObjectEventObserver(const std::string& name)
    : KXModelObject(name), m_eventType(new KXAttributeStringList(kEventType, this)),
      m_limitNumber(new KXAttributeFloat(kLimitNumber, this, 0)),
      m_playsBeforeRedirect(new KXAttributeFloat(kPlaysBeforeRedirect, this, 0)),
      m_time(new KXAttributeUInt(kTime, this, 0)), m_function(new KXAttributeStringList(kFunction, this)),
      m_pauseCurrentWorld(new KXAttributeBool(kPauseCurrentWorld, this)) {
    m_limitNumber->setValue(1000.0f, true);
    m_playsBeforeRedirect->setValue(1.0f, true);
    m_time->setValue(1000u, true);
    m_pauseCurrentWorld->setValue(true, true);
}

KXBaseModelObjectEventObserver::KXBaseModelObjectEventObserver(const KXBaseModelObjectEventObserver& source)
    : KXModelObject(source), m_eventType(boundAttribute<KXAttributeStringList>(*this, kEventType)),
      m_limitNumber(boundAttribute<KXAttributeFloat>(*this, kLimitNumber)),
      m_playsBeforeRedirect(boundAttribute<KXAttributeFloat>(*this, kPlaysBeforeRedirect)),
      m_time(boundAttribute<KXAttributeUInt>(*this, kTime)),
      m_function(boundAttribute<KXAttributeStringList>(*this, kFunction)),
      m_pauseCurrentWorld(boundAttribute<KXAttributeBool>(*this, kPauseCurrentWorld)) {}

cocos2d::CCSize KXBaseModelObjectEventObserver::contentSize(float /*time*/) const {
    return cocos2d::CCSize(60.0f, 60.0f);
}

const std::string& KXBaseModelObjectEventObserver::eventType() const {
    return attributeText(m_eventType);
}
float KXBaseModelObjectEventObserver::limitNumber() const {
    return attributeValue(m_limitNumber);
}
float KXBaseModelObjectEventObserver::playsBeforeRedirect() const {
    return attributeValue(m_playsBeforeRedirect);
}
unsigned int KXBaseModelObjectEventObserver::time() const {
    return attributeValue(m_time);
}
const std::string& KXBaseModelObjectEventObserver::function() const {
    return attributeText(m_function);
}
bool KXBaseModelObjectEventObserver::pauseCurrentWorld() const {
    return attributeValue(m_pauseCurrentWorld);
}
