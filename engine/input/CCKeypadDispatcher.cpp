#include "input/CCKeypadDispatcher.h"

#include <algorithm>

NS_CC_BEGIN

CCKeypadDispatcher::~CCKeypadDispatcher() {
    for (Handler& handler : m_handlers) {
        CC_SAFE_RELEASE(handler.object);
    }
}

void CCKeypadDispatcher::insert(CCKeypadDelegate* pDelegate) {
    for (const Handler& handler : m_handlers) {
        if (handler.delegate == pDelegate && !handler.removed) {
            return;
        }
    }
    CCObject* object = dynamic_cast<CCObject*>(pDelegate);
    CC_SAFE_RETAIN(object);
    m_handlers.push_back(Handler{pDelegate, object, false});
}

void CCKeypadDispatcher::addDelegate(CCKeypadDelegate* pDelegate) {
    if (!pDelegate) {
        return;
    }
    if (m_locked) {
        m_pendingAdds.push_back(pDelegate);
    } else {
        insert(pDelegate);
    }
}

void CCKeypadDispatcher::removeDelegate(CCKeypadDelegate* pDelegate) {
    if (!pDelegate) {
        return;
    }
    m_pendingAdds.erase(std::remove(m_pendingAdds.begin(), m_pendingAdds.end(), pDelegate),
                        m_pendingAdds.end());
    for (Handler& handler : m_handlers) {
        if (handler.delegate == pDelegate && !handler.removed) {
            handler.removed = true;
            m_hasRemovals = true;
        }
    }
    if (!m_locked) {
        applyPendingChanges();
    }
}

void CCKeypadDispatcher::removeAllDelegates() {
    m_pendingAdds.clear();
    for (Handler& handler : m_handlers) {
        handler.removed = true;
        m_hasRemovals = true;
    }
    if (!m_locked) {
        applyPendingChanges();
    }
}

void CCKeypadDispatcher::applyPendingChanges() {
    if (m_hasRemovals) {
        m_hasRemovals = false;
        std::vector<CCObject*> toRelease;
        auto keepEnd = std::stable_partition(m_handlers.begin(), m_handlers.end(),
                                             [](const Handler& handler) { return !handler.removed; });
        for (auto it = keepEnd; it != m_handlers.end(); ++it) {
            if (it->object) {
                toRelease.push_back(it->object);
            }
        }
        m_handlers.erase(keepEnd, m_handlers.end());
        for (CCObject* object : toRelease) {
            object->release();
        }
    }
    if (!m_pendingAdds.empty()) {
        std::vector<CCKeypadDelegate*> adds;
        adds.swap(m_pendingAdds);
        for (CCKeypadDelegate* pDelegate : adds) {
            insert(pDelegate);
        }
    }
}

bool CCKeypadDispatcher::dispatch(Event event, int keyCode) {
    const bool outer = !m_locked;
    m_locked = true;
    bool delivered = false;
    for (size_t i = 0; i < m_handlers.size(); ++i) {
        if (m_handlers[i].removed) {
            continue;
        }
        delivered = true;
        CCKeypadDelegate* pDelegate = m_handlers[i].delegate;
        switch (event) {
        case Event::Back:
            pDelegate->keyBackClicked();
            break;
        case Event::Menu:
            pDelegate->keyMenuClicked();
            break;
        case Event::KeyDown:
            pDelegate->onKeyDown(keyCode);
            break;
        case Event::KeyUp:
            pDelegate->onKeyUp(keyCode);
            break;
        }
    }
    if (outer) {
        m_locked = false;
        applyPendingChanges();
    }
    return delivered;
}

bool CCKeypadDispatcher::dispatchKeypadMSG(ccKeypadMSGType nMsgType) {
    switch (nMsgType) {
    case kTypeBackClicked:
        return dispatch(Event::Back, 0);
    case kTypeMenuClicked:
        return dispatch(Event::Menu, 0);
    }
    return false;
}

bool CCKeypadDispatcher::dispatchKeyDown(int keyCode) {
    return dispatch(Event::KeyDown, keyCode);
}

bool CCKeypadDispatcher::dispatchKeyUp(int keyCode) {
    return dispatch(Event::KeyUp, keyCode);
}

NS_CC_END
