#include "input/CCTouchDispatcher.h"

#include <algorithm>
#include <iterator>

NS_CC_BEGIN

CCTouchDispatcher::~CCTouchDispatcher() {
    for (Handler& handler : m_targeted) {
        releaseHandler(handler);
    }
    for (Handler& handler : m_standard) {
        releaseHandler(handler);
    }
}

void CCTouchDispatcher::addStandardDelegate(CCTouchDelegate* pDelegate, int nPriority) {
    if (!pDelegate) {
        return;
    }
    PendingAdd add{pDelegate, nPriority, false, false};
    if (m_locked) {
        m_pendingAdds.push_back(add);
    } else {
        insertHandler(add);
    }
}

void CCTouchDispatcher::addTargetedDelegate(CCTouchDelegate* pDelegate, int nPriority,
                                            bool bSwallowsTouches) {
    if (!pDelegate) {
        return;
    }
    PendingAdd add{pDelegate, nPriority, true, bSwallowsTouches};
    if (m_locked) {
        m_pendingAdds.push_back(add);
    } else {
        insertHandler(add);
    }
}

void CCTouchDispatcher::removeDelegate(CCTouchDelegate* pDelegate) {
    if (!pDelegate) {
        return;
    }
    m_pendingAdds.erase(
        std::remove_if(m_pendingAdds.begin(), m_pendingAdds.end(),
                       [pDelegate](const PendingAdd& add) { return add.delegate == pDelegate; }),
        m_pendingAdds.end());
    if (Handler* handler = findHandler(pDelegate)) {
        markRemoved(*handler);
    }
    if (!m_locked) {
        applyPendingChanges();
    }
}

void CCTouchDispatcher::removeAllDelegates() {
    m_pendingAdds.clear();
    for (Handler& handler : m_targeted) {
        markRemoved(handler);
    }
    for (Handler& handler : m_standard) {
        markRemoved(handler);
    }
    if (!m_locked) {
        applyPendingChanges();
    }
}

void CCTouchDispatcher::setPriority(int nPriority, CCTouchDelegate* pDelegate) {
    Handler* handler = findHandler(pDelegate);
    if (!handler || handler->priority == nPriority) {
        return;
    }
    PendingAdd add{pDelegate, nPriority, handler->targeted, handler->swallows};
    // Keep the delegate alive between its removal and its new registration.
    CCObject* keep = handler->object;
    CC_SAFE_RETAIN(keep);
    removeDelegate(pDelegate);
    if (m_locked) {
        m_pendingAdds.push_back(add);
    } else {
        insertHandler(add);
    }
    CC_SAFE_RELEASE(keep);
}

int CCTouchDispatcher::targetedDelegateCount() const {
    return static_cast<int>(m_targeted.size());
}

int CCTouchDispatcher::standardDelegateCount() const {
    return static_cast<int>(m_standard.size());
}

bool CCTouchDispatcher::isRegistered(const CCTouchDelegate* pDelegate) const {
    return const_cast<CCTouchDispatcher*>(this)->findHandler(pDelegate) != nullptr;
}

CCTouchDispatcher::Handler* CCTouchDispatcher::findHandler(const CCTouchDelegate* pDelegate) {
    for (Handler& handler : m_targeted) {
        if (handler.delegate == pDelegate && !handler.removed) {
            return &handler;
        }
    }
    for (Handler& handler : m_standard) {
        if (handler.delegate == pDelegate && !handler.removed) {
            return &handler;
        }
    }
    return nullptr;
}

void CCTouchDispatcher::insertHandler(const PendingAdd& add) {
    if (findHandler(add.delegate)) {
        return;
    }
    Handler handler;
    handler.delegate = add.delegate;
    handler.object = dynamic_cast<CCObject*>(add.delegate);
    CC_SAFE_RETAIN(handler.object);
    handler.priority = add.priority;
    handler.targeted = add.targeted;
    handler.swallows = add.swallows;

    std::vector<Handler>& list = add.targeted ? m_targeted : m_standard;
    // Before every handler of the same priority: the newest is asked first.
    auto pos = std::find_if(list.begin(), list.end(),
                            [&add](const Handler& other) { return other.priority >= add.priority; });
    list.insert(pos, std::move(handler));
}

void CCTouchDispatcher::markRemoved(Handler& handler) {
    if (!handler.removed) {
        handler.removed = true;
        m_hasRemovals = true;
    }
}

void CCTouchDispatcher::releaseHandler(Handler& handler) {
    for (CCTouch* touch : handler.claimed) {
        touch->release();
    }
    handler.claimed.clear();
    CC_SAFE_RELEASE(handler.object);
    handler.object = nullptr;
}

void CCTouchDispatcher::applyPendingChanges() {
    if (m_hasRemovals) {
        m_hasRemovals = false;
        // Move the removed handlers out first: releasing one may run a destructor that calls back here.
        std::vector<Handler> dropped;
        for (std::vector<Handler>* list : {&m_targeted, &m_standard}) {
            auto keepEnd = std::stable_partition(list->begin(), list->end(),
                                                 [](const Handler& handler) { return !handler.removed; });
            std::move(keepEnd, list->end(), std::back_inserter(dropped));
            list->erase(keepEnd, list->end());
        }
        for (Handler& handler : dropped) {
            releaseHandler(handler);
        }
    }
    if (!m_pendingAdds.empty()) {
        std::vector<PendingAdd> adds;
        adds.swap(m_pendingAdds);
        for (const PendingAdd& add : adds) {
            insertHandler(add);
        }
    }
}

void CCTouchDispatcher::dispatchTargeted(CCTouch* touch, CCEvent* event, unsigned int index,
                                         std::vector<CCTouch*>& remaining) {
    // The lists do not change size while locked, so indices stay valid across the callbacks.
    for (size_t i = 0; i < m_targeted.size(); ++i) {
        if (m_targeted[i].removed) {
            continue;
        }
        CCTouchDelegate* delegate = m_targeted[i].delegate;
        bool claimed = false;
        if (index == CCTOUCHBEGAN) {
            claimed = delegate->ccTouchBegan(touch, event);
            if (claimed && !m_targeted[i].removed) {
                touch->retain();
                m_targeted[i].claimed.push_back(touch);
            }
        } else {
            std::vector<CCTouch*>& owned = m_targeted[i].claimed;
            auto it = std::find(owned.begin(), owned.end(), touch);
            if (it != owned.end()) {
                claimed = true;
                if (index == CCTOUCHMOVED) {
                    delegate->ccTouchMoved(touch, event);
                } else {
                    owned.erase(it);
                    if (index == CCTOUCHENDED) {
                        delegate->ccTouchEnded(touch, event);
                    } else {
                        delegate->ccTouchCancelled(touch, event);
                    }
                    touch->release();
                }
            }
        }
        if (claimed && m_targeted[i].swallows) {
            remaining.erase(std::remove(remaining.begin(), remaining.end(), touch), remaining.end());
            break;
        }
    }
}

void CCTouchDispatcher::touches(CCSet* pTouches, CCEvent* pEvent, unsigned int uIndex) {
    if (!m_dispatchEvents || !pTouches || uIndex >= ccTouchMax || pTouches->count() == 0) {
        return;
    }
    // Keep the set alive even if a handler drops the last other reference.
    pTouches->retain();
    const bool outerDispatch = !m_locked;
    m_locked = true;

    std::vector<CCTouch*> remaining;
    remaining.reserve(static_cast<size_t>(pTouches->count()));
    for (CCObject* object : *pTouches) {
        if (CCTouch* touch = dynamic_cast<CCTouch*>(object)) {
            remaining.push_back(touch);
        }
    }

    if (!m_targeted.empty()) {
        const std::vector<CCTouch*> all = remaining;
        for (CCTouch* touch : all) {
            dispatchTargeted(touch, pEvent, uIndex, remaining);
        }
    }

    const bool anyStandard = std::any_of(m_standard.begin(), m_standard.end(),
                                         [](const Handler& handler) { return !handler.removed; });
    if (!remaining.empty() && anyStandard) {
        CCSet* passed = pTouches;
        if (static_cast<int>(remaining.size()) != pTouches->count()) {
            passed = new CCSet();
            for (CCTouch* touch : remaining) {
                passed->addObject(touch);
            }
        } else {
            passed->retain();
        }
        for (size_t i = 0; i < m_standard.size(); ++i) {
            if (m_standard[i].removed) {
                continue;
            }
            CCTouchDelegate* delegate = m_standard[i].delegate;
            switch (uIndex) {
            case CCTOUCHBEGAN:
                delegate->ccTouchesBegan(passed, pEvent);
                break;
            case CCTOUCHMOVED:
                delegate->ccTouchesMoved(passed, pEvent);
                break;
            case CCTOUCHENDED:
                delegate->ccTouchesEnded(passed, pEvent);
                break;
            default:
                delegate->ccTouchesCancelled(passed, pEvent);
                break;
            }
        }
        passed->release();
    }

    if (outerDispatch) {
        m_locked = false;
        applyPendingChanges();
    }
    pTouches->release();
}

NS_CC_END
