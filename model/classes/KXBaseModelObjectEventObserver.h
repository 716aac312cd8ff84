#pragma once

#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelObject.h"

#include <string>

// An invisible object that waits for a game event or a score limit and then acts.
class KXBaseModelObjectEventObserver : public KXModelObject {
public:
    explicit KXBaseModelObjectEventObserver(const std::string& name);
    KXBaseModelObjectEventObserver(const KXBaseModelObjectEventObserver& source);

    // Always 60 x 60: it shows nothing to measure.
    cocos2d::CCSize contentSize(float time) const override;

    const std::string& eventType() const;
    float limitNumber() const;
    float playsBeforeRedirect() const;
    unsigned int time() const;
    const std::string& function() const;
    bool pauseCurrentWorld() const;

private:
    KXAttributeStringList* m_eventType = nullptr;
    KXAttributeFloat* m_limitNumber = nullptr;
    KXAttributeFloat* m_playsBeforeRedirect = nullptr;
    KXAttributeUInt* m_time = nullptr;
    KXAttributeStringList* m_function = nullptr;
    KXAttributeBool* m_pauseCurrentWorld = nullptr;
};
