// Routes touches to targeted delegates (by priority, lowest first; among equal priorities the
// most recently added first), then the touches nobody swallowed to the standard delegates.
// Delegates that are CCObjects are retained while registered. Additions and removals made while
// a dispatch is running take effect when it ends; a removed delegate is not called again.
#pragma once

#include <vector>

#include "input/CCTouchDelegateProtocol.h"

NS_CC_BEGIN

enum {
    CCTOUCHBEGAN = 0,
    CCTOUCHMOVED = 1,
    CCTOUCHENDED = 2,
    CCTOUCHCANCELLED = 3,
    ccTouchMax = 4,
};

class CCTouchDispatcher : public CCObject {
public:
    CCTouchDispatcher() = default;
    ~CCTouchDispatcher() override;
    bool init() { return true; }

    bool isDispatchEvents() const { return m_dispatchEvents; }
    void setDispatchEvents(bool dispatch) { m_dispatchEvents = dispatch; }

    // A delegate already registered (and not being removed) is left as it is.
    void addStandardDelegate(CCTouchDelegate* pDelegate, int nPriority);
    void addTargetedDelegate(CCTouchDelegate* pDelegate, int nPriority, bool bSwallowsTouches);
    void removeDelegate(CCTouchDelegate* pDelegate);
    void removeAllDelegates();
    // Re-sorts the delegate to its new priority (deferred like an addition during a dispatch).
    void setPriority(int nPriority, CCTouchDelegate* pDelegate);

    void touches(CCSet* pTouches, CCEvent* pEvent, unsigned int uIndex);
    void touchesBegan(CCSet* touches, CCEvent* pEvent) { this->touches(touches, pEvent, CCTOUCHBEGAN); }
    void touchesMoved(CCSet* touches, CCEvent* pEvent) { this->touches(touches, pEvent, CCTOUCHMOVED); }
    void touchesEnded(CCSet* touches, CCEvent* pEvent) { this->touches(touches, pEvent, CCTOUCHENDED); }
    void touchesCancelled(CCSet* touches, CCEvent* pEvent) {
        this->touches(touches, pEvent, CCTOUCHCANCELLED);
    }

    // Registered delegates (pending additions excluded, pending removals included).
    int targetedDelegateCount() const;
    int standardDelegateCount() const;
    bool isRegistered(const CCTouchDelegate* pDelegate) const;

private:
    struct Handler {
        CCTouchDelegate* delegate = nullptr;
        CCObject* object = nullptr; // the delegate as a CCObject, retained; null when it is none
        int priority = 0;
        bool targeted = false;
        bool swallows = false;
        bool removed = false;
        std::vector<CCTouch*> claimed; // retained
    };
    struct PendingAdd {
        CCTouchDelegate* delegate;
        int priority;
        bool targeted;
        bool swallows;
    };

    void insertHandler(const PendingAdd& add);
    void markRemoved(Handler& handler);
    void releaseHandler(Handler& handler);
    void applyPendingChanges();
    Handler* findHandler(const CCTouchDelegate* pDelegate);
    void dispatchTargeted(CCTouch* touch, CCEvent* event, unsigned int index,
                          std::vector<CCTouch*>& remaining);

    std::vector<Handler> m_targeted;
    std::vector<Handler> m_standard;
    std::vector<PendingAdd> m_pendingAdds;
    bool m_locked = false;
    bool m_hasRemovals = false;
    bool m_dispatchEvents = true;
};

NS_CC_END
