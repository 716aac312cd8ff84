// Reference-counted base of every engine object.
#pragma once

#include "base/ccMacros.h"

NS_CC_BEGIN

class CCObject;
class CCNode;
class CCEvent;

// Callback selectors: member-function pointers bound to a target object.
typedef void (CCObject::*SEL_SCHEDULE)(float);
typedef void (CCObject::*SEL_CallFunc)();
typedef void (CCObject::*SEL_CallFuncN)(CCNode*);
typedef void (CCObject::*SEL_CallFuncND)(CCNode*, void*);
typedef void (CCObject::*SEL_CallFuncO)(CCObject*);
typedef void (CCObject::*SEL_MenuHandler)(CCObject*);
typedef void (CCObject::*SEL_EventHandler)(CCEvent*);

#define schedule_selector(_SELECTOR) static_cast<cocos2d::SEL_SCHEDULE>(&_SELECTOR)
#define callfunc_selector(_SELECTOR) static_cast<cocos2d::SEL_CallFunc>(&_SELECTOR)
#define callfuncN_selector(_SELECTOR) static_cast<cocos2d::SEL_CallFuncN>(&_SELECTOR)
#define callfuncND_selector(_SELECTOR) static_cast<cocos2d::SEL_CallFuncND>(&_SELECTOR)
#define callfuncO_selector(_SELECTOR) static_cast<cocos2d::SEL_CallFuncO>(&_SELECTOR)
#define menu_selector(_SELECTOR) static_cast<cocos2d::SEL_MenuHandler>(&_SELECTOR)
#define event_selector(_SELECTOR) static_cast<cocos2d::SEL_EventHandler>(&_SELECTOR)

class CCObject {
public:
    CCObject();
    virtual ~CCObject();

    CCObject(const CCObject&) = delete;
    CCObject& operator=(const CCObject&) = delete;

    // Deletes the object when the count reaches zero.
    void release();
    void retain();
    // Hands one reference to the current autorelease pool, released at the end of the frame.
    CCObject* autorelease();
    unsigned int retainCount() const { return m_uReference; }
    // Whether some pool still holds a reference of this object.
    bool isInAutoreleasePool() const { return m_uAutoReleaseCount > 0; }
    bool isSingleReference() const { return m_uReference == 1; }

    virtual bool isEqual(const CCObject* object) const { return this == object; }
    // Per-frame update for objects registered with the scheduler.
    virtual void update(float dt) { CC_UNUSED_PARAM(dt); }

    // Unique per object, for debugging and for scripting ids.
    unsigned int m_uID;

protected:
    unsigned int m_uReference;
    unsigned int m_uAutoReleaseCount;

    friend class CCAutoreleasePool;
};

NS_CC_END
