// Delivers keypad events to every delegate in registration order. Delegates that are CCObjects
// are retained while registered; changes made during a delivery take effect after it, and a
// delegate removed during a delivery is not called again.
#pragma once

#include <vector>

#include "base/CCObject.h"
#include "input/CCKeypadDelegate.h"

NS_CC_BEGIN

typedef enum {
    kTypeBackClicked = 1,
    kTypeMenuClicked,
} ccKeypadMSGType;

class CCKeypadDispatcher : public CCObject {
public:
    CCKeypadDispatcher() = default;
    ~CCKeypadDispatcher() override;

    // Adding a delegate twice keeps one registration.
    void addDelegate(CCKeypadDelegate* pDelegate);
    void removeDelegate(CCKeypadDelegate* pDelegate);
    void removeAllDelegates();

    // False when nobody was registered.
    bool dispatchKeypadMSG(ccKeypadMSGType nMsgType);
    bool dispatchKeyDown(int keyCode);
    bool dispatchKeyUp(int keyCode);

    int delegateCount() const { return static_cast<int>(m_handlers.size()); }

private:
    struct Handler {
        CCKeypadDelegate* delegate;
        CCObject* object; // retained, null when the delegate is not a CCObject
        bool removed;
    };
    enum class Event { Back, Menu, KeyDown, KeyUp };

    bool dispatch(Event event, int keyCode);
    void applyPendingChanges();
    void insert(CCKeypadDelegate* pDelegate);

    std::vector<Handler> m_handlers;
    std::vector<CCKeypadDelegate*> m_pendingAdds;
    bool m_locked = false;
    bool m_hasRemovals = false;
};

NS_CC_END
