#include "director/CCScheduler.h"

#include <algorithm>
#include <cmath>

NS_CC_BEGIN

CCScheduler::CCScheduler() : m_fTimeScale(1.0f), m_bUpdating(false), m_bHasRemovals(false) {}

CCScheduler::~CCScheduler() {
    mergePending();
    for (UpdateEntry& entry : m_updates) {
        entry.removed = true;
    }
    for (TimerEntry& timer : m_timers) {
        timer.removed = true;
    }
    m_bHasRemovals = true;
    sweep();
}

void CCScheduler::setTimeScale(float fTimeScale) {
    if (std::isfinite(fTimeScale) && fTimeScale >= 0.0f) {
        m_fTimeScale = fTimeScale;
    }
}

void CCScheduler::retainTarget(CCObject* pTarget) {
    pTarget->retain();
    ++m_entryCounts[pTarget];
}

void CCScheduler::releaseTarget(CCObject* pTarget) {
    auto it = m_entryCounts.find(pTarget);
    if (it != m_entryCounts.end() && --it->second <= 0) {
        m_entryCounts.erase(it);
    }
    pTarget->release();
}

bool CCScheduler::knowsTarget(const CCObject* pTarget) const {
    return m_entryCounts.find(pTarget) != m_entryCounts.end();
}

void CCScheduler::insertUpdate(const UpdateEntry& entry) {
    auto pos =
        std::upper_bound(m_updates.begin(), m_updates.end(), entry.priority,
                         [](int priority, const UpdateEntry& other) { return priority < other.priority; });
    m_updates.insert(pos, entry);
}

CCScheduler::TimerEntry* CCScheduler::findTimer(SEL_SCHEDULE pfnSelector, const CCObject* pTarget) {
    if (!knowsTarget(pTarget)) {
        return nullptr;
    }
    for (auto* list : {&m_timers, &m_pendingTimers}) {
        for (TimerEntry& timer : *list) {
            if (timer.target == pTarget && timer.selector == pfnSelector && !timer.removed) {
                return &timer;
            }
        }
    }
    return nullptr;
}

void CCScheduler::scheduleSelector(SEL_SCHEDULE pfnSelector, CCObject* pTarget, float fInterval,
                                   unsigned int repeat, float delay, bool bPaused) {
    if (!pfnSelector || !pTarget) {
        return;
    }
    if (!std::isfinite(fInterval) || fInterval < 0.0f) {
        fInterval = 0.0f;
    }
    if (!std::isfinite(delay) || delay < 0.0f) {
        delay = 0.0f;
    }
    if (TimerEntry* existing = findTimer(pfnSelector, pTarget)) {
        existing->interval = fInterval;
        return;
    }
    TimerEntry timer;
    timer.target = pTarget;
    timer.selector = pfnSelector;
    timer.interval = fInterval;
    timer.delay = delay;
    timer.elapsed = 0.0f;
    timer.repeat = repeat;
    timer.timesExecuted = 0;
    timer.useDelay = delay > 0.0f;
    timer.paused = bPaused;
    timer.removed = false;
    retainTarget(pTarget);
    // During a pass the timer list must not move: the firing timer is referenced.
    (m_bUpdating ? m_pendingTimers : m_timers).push_back(timer);
}

void CCScheduler::scheduleSelector(SEL_SCHEDULE pfnSelector, CCObject* pTarget, float fInterval,
                                   bool bPaused) {
    scheduleSelector(pfnSelector, pTarget, fInterval, kCCRepeatForever, 0.0f, bPaused);
}

void CCScheduler::scheduleUpdateForTarget(CCObject* pTarget, int nPriority, bool bPaused) {
    if (!pTarget || isScheduledForUpdate(pTarget)) {
        return;
    }
    retainTarget(pTarget);
    UpdateEntry entry{pTarget, nPriority, bPaused, false};
    if (m_bUpdating) {
        m_pendingUpdates.push_back(entry);
    } else {
        insertUpdate(entry);
    }
}

void CCScheduler::unscheduleSelector(SEL_SCHEDULE pfnSelector, CCObject* pTarget) {
    if (TimerEntry* timer = findTimer(pfnSelector, pTarget)) {
        timer->removed = true;
        m_bHasRemovals = true;
        sweep();
    }
}

void CCScheduler::unscheduleUpdateForTarget(const CCObject* pTarget) {
    if (!pTarget || !knowsTarget(pTarget)) {
        return;
    }
    for (auto* list : {&m_updates, &m_pendingUpdates}) {
        for (UpdateEntry& entry : *list) {
            if (entry.target == pTarget && !entry.removed) {
                entry.removed = true;
                m_bHasRemovals = true;
            }
        }
    }
    sweep();
}

void CCScheduler::unscheduleAllForTarget(CCObject* pTarget) {
    if (!pTarget || !knowsTarget(pTarget)) {
        return;
    }
    for (auto* list : {&m_timers, &m_pendingTimers}) {
        for (TimerEntry& timer : *list) {
            if (timer.target == pTarget && !timer.removed) {
                timer.removed = true;
                m_bHasRemovals = true;
            }
        }
    }
    unscheduleUpdateForTarget(pTarget);
    sweep();
}

void CCScheduler::unscheduleAll() {
    unscheduleAllWithMinPriority(kCCPriorityNonSystemMin);
}

void CCScheduler::unscheduleAllWithMinPriority(int nMinPriority) {
    for (auto* list : {&m_timers, &m_pendingTimers}) {
        for (TimerEntry& timer : *list) {
            timer.removed = true;
        }
    }
    for (auto* list : {&m_updates, &m_pendingUpdates}) {
        for (UpdateEntry& entry : *list) {
            if (entry.priority >= nMinPriority) {
                entry.removed = true;
            }
        }
    }
    m_bHasRemovals = true;
    sweep();
}

void CCScheduler::pauseTarget(CCObject* pTarget) {
    if (!pTarget || !knowsTarget(pTarget)) {
        return;
    }
    for (auto* list : {&m_timers, &m_pendingTimers}) {
        for (TimerEntry& timer : *list) {
            if (timer.target == pTarget) {
                timer.paused = true;
            }
        }
    }
    for (auto* list : {&m_updates, &m_pendingUpdates}) {
        for (UpdateEntry& entry : *list) {
            if (entry.target == pTarget) {
                entry.paused = true;
            }
        }
    }
}

void CCScheduler::resumeTarget(CCObject* pTarget) {
    if (!pTarget || !knowsTarget(pTarget)) {
        return;
    }
    for (auto* list : {&m_timers, &m_pendingTimers}) {
        for (TimerEntry& timer : *list) {
            if (timer.target == pTarget) {
                timer.paused = false;
            }
        }
    }
    for (auto* list : {&m_updates, &m_pendingUpdates}) {
        for (UpdateEntry& entry : *list) {
            if (entry.target == pTarget) {
                entry.paused = false;
            }
        }
    }
}

bool CCScheduler::isTargetPaused(CCObject* pTarget) const {
    if (!pTarget || !knowsTarget(pTarget)) {
        return false;
    }
    for (const auto* list : {&m_timers, &m_pendingTimers}) {
        for (const TimerEntry& timer : *list) {
            if (timer.target == pTarget && !timer.removed && timer.paused) {
                return true;
            }
        }
    }
    for (const auto* list : {&m_updates, &m_pendingUpdates}) {
        for (const UpdateEntry& entry : *list) {
            if (entry.target == pTarget && !entry.removed && entry.paused) {
                return true;
            }
        }
    }
    return false;
}

bool CCScheduler::isScheduledForUpdate(const CCObject* pTarget) const {
    if (!pTarget || !knowsTarget(pTarget)) {
        return false;
    }
    for (const auto* list : {&m_updates, &m_pendingUpdates}) {
        for (const UpdateEntry& entry : *list) {
            if (entry.target == pTarget && !entry.removed) {
                return true;
            }
        }
    }
    return false;
}

bool CCScheduler::isSelectorScheduled(SEL_SCHEDULE pfnSelector, const CCObject* pTarget) const {
    return const_cast<CCScheduler*>(this)->findTimer(pfnSelector, pTarget) != nullptr;
}

void CCScheduler::runTimer(TimerEntry& timer, float dt) {
    timer.elapsed += dt;
    float firedWith = 0.0f;
    if (timer.useDelay) {
        if (timer.elapsed < timer.delay) {
            return;
        }
        timer.useDelay = false;
    } else if (timer.elapsed < timer.interval) {
        return;
    }
    firedWith = timer.elapsed;
    timer.elapsed = 0.0f;
    ++timer.timesExecuted;
    // Marked before the call, so that the selector may schedule itself again.
    if (timer.repeat != kCCRepeatForever && timer.timesExecuted > timer.repeat) {
        timer.removed = true;
        m_bHasRemovals = true;
    }
    CCObject* target = timer.target;
    SEL_SCHEDULE selector = timer.selector;
    (target->*selector)(firedWith);
}

void CCScheduler::update(float dt) {
    if (m_bUpdating) {
        return; // a re-entrant call would run entries twice in one frame
    }
    if (!std::isfinite(dt) || dt < 0.0f) {
        dt = 0.0f;
    }
    dt *= m_fTimeScale;
    m_bUpdating = true;

    for (size_t i = 0; i < m_updates.size(); ++i) {
        UpdateEntry& entry = m_updates[i];
        if (!entry.removed && !entry.paused) {
            entry.target->update(dt);
        }
    }
    for (size_t i = 0; i < m_timers.size(); ++i) {
        if (!m_timers[i].removed && !m_timers[i].paused) {
            runTimer(m_timers[i], dt);
        }
    }

    m_bUpdating = false;
    mergePending();
    sweep();
}

void CCScheduler::mergePending() {
    if (!m_pendingUpdates.empty()) {
        std::vector<UpdateEntry> pending;
        pending.swap(m_pendingUpdates);
        for (const UpdateEntry& entry : pending) {
            insertUpdate(entry);
        }
    }
    if (!m_pendingTimers.empty()) {
        m_timers.insert(m_timers.end(), m_pendingTimers.begin(), m_pendingTimers.end());
        m_pendingTimers.clear();
    }
}

void CCScheduler::sweep() {
    if (m_bUpdating) {
        return;
    }
    // Releasing a target may run a destructor that unschedules more: loop until stable.
    while (m_bHasRemovals) {
        m_bHasRemovals = false;
        std::vector<CCObject*> toRelease;
        auto dropRemoved = [&toRelease](auto& list) {
            auto keepEnd = std::stable_partition(list.begin(), list.end(),
                                                 [](const auto& entry) { return !entry.removed; });
            for (auto it = keepEnd; it != list.end(); ++it) {
                toRelease.push_back(it->target);
            }
            list.erase(keepEnd, list.end());
        };
        dropRemoved(m_updates);
        dropRemoved(m_pendingUpdates);
        dropRemoved(m_timers);
        dropRemoved(m_pendingTimers);
        for (CCObject* target : toRelease) {
            releaseTarget(target);
        }
    }
}

NS_CC_END
