// Per-frame updates and timers. Each frame: update targets by priority (lowest first), equal
// priorities in registration order, then the timers in registration order. Targets are retained
// while they have entries. Entries added during a frame start with the next frame; entries removed
// during a frame are skipped at once and dropped when the frame's pass ends.
#pragma once

#include <climits>
#include <unordered_map>
#include <vector>

#include "base/CCObject.h"

NS_CC_BEGIN

// The action manager runs at this priority, before every other update.
constexpr int kCCPrioritySystem = INT_MIN;
constexpr int kCCPriorityNonSystemMin = kCCPrioritySystem + 1;
constexpr unsigned int kCCRepeatForever = UINT_MAX - 1;

class CCScheduler : public CCObject {
public:
    CCScheduler();
    ~CCScheduler() override;

    float getTimeScale() const { return m_fTimeScale; }
    // Scales the dt handed to every entry (1 = real time). Negative and non-finite values are ignored.
    void setTimeScale(float fTimeScale);

    void update(float dt) override;

    // interval 0: every frame. repeat: further firings after the first (kCCRepeatForever: no end).
    // delay: time before the first firing. Scheduling an existing selector changes its interval.
    void scheduleSelector(SEL_SCHEDULE pfnSelector, CCObject* pTarget, float fInterval, unsigned int repeat,
                          float delay, bool bPaused);
    void scheduleSelector(SEL_SCHEDULE pfnSelector, CCObject* pTarget, float fInterval, bool bPaused);
    // Calls pTarget->update(dt) every frame. A target already scheduled keeps its entry.
    void scheduleUpdateForTarget(CCObject* pTarget, int nPriority, bool bPaused);

    void unscheduleSelector(SEL_SCHEDULE pfnSelector, CCObject* pTarget);
    void unscheduleUpdateForTarget(const CCObject* pTarget);
    void unscheduleAllForTarget(CCObject* pTarget);
    // Everything except the system-priority updates (the action manager).
    void unscheduleAll();
    void unscheduleAllWithMinPriority(int nMinPriority);

    // Pausing affects the entries the target has now; new entries take their own paused flag.
    void pauseTarget(CCObject* pTarget);
    void resumeTarget(CCObject* pTarget);
    bool isTargetPaused(CCObject* pTarget) const;

    bool isScheduledForUpdate(const CCObject* pTarget) const;
    bool isSelectorScheduled(SEL_SCHEDULE pfnSelector, const CCObject* pTarget) const;

private:
    struct UpdateEntry {
        CCObject* target;
        int priority;
        bool paused;
        bool removed;
    };
    struct TimerEntry {
        CCObject* target;
        SEL_SCHEDULE selector;
        float interval;
        float delay;
        float elapsed;
        unsigned int repeat; // firings after the first
        unsigned int timesExecuted;
        bool useDelay;
        bool paused;
        bool removed;
    };

    void retainTarget(CCObject* pTarget);
    void releaseTarget(CCObject* pTarget);
    void insertUpdate(const UpdateEntry& entry);
    void runTimer(TimerEntry& timer, float dt);
    void sweep();
    void mergePending();
    TimerEntry* findTimer(SEL_SCHEDULE pfnSelector, const CCObject* pTarget);
    bool knowsTarget(const CCObject* pTarget) const;

    std::vector<UpdateEntry> m_updates;        // sorted by priority, stable
    std::vector<UpdateEntry> m_pendingUpdates; // added during a pass
    std::vector<TimerEntry> m_timers;
    std::vector<TimerEntry> m_pendingTimers; // added during a pass
    // Entries per target: quick rejection of targets without entries.
    std::unordered_map<const CCObject*, int> m_entryCounts;
    float m_fTimeScale;
    bool m_bUpdating;
    bool m_bHasRemovals;
};

NS_CC_END
