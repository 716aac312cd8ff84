// Steps the running actions of every target once per frame (the scheduler runs it before all
// other updates). Targets and actions are retained while actions run; a finished action is
// stopped and removed. Changes made from inside an action's step take effect safely: a removed
// action is not stepped again and is released after the frame's pass.
#pragma once

#include <unordered_map>
#include <vector>

#include "base/CCObject.h"

NS_CC_BEGIN

class CCAction;
class CCNode;

class CCActionManager : public CCObject {
public:
    CCActionManager() = default;
    ~CCActionManager() override;

    // Starts the action on the target. Adding an action the target already runs restarts it.
    // paused applies when the target has no running actions yet.
    void addAction(CCAction* pAction, CCNode* pTarget, bool paused);
    void removeAllActions();
    void removeAllActionsFromTarget(CCObject* pTarget);
    void removeAction(CCAction* pAction);
    void removeActionByTag(int tag, CCObject* pTarget);
    CCAction* getActionByTag(int tag, CCObject* pTarget) const;
    unsigned int numberOfRunningActionsInTarget(CCObject* pTarget) const;

    // A paused target's actions stay where they are.
    void pauseTarget(CCObject* pTarget);
    void resumeTarget(CCObject* pTarget);
    bool isTargetPaused(CCObject* pTarget) const;

    void update(float dt) override;

private:
    struct TargetActions {
        CCNode* target = nullptr;       // retained
        std::vector<CCAction*> actions; // retained; null once removed
        size_t slot = 0;                // its place in m_targets
        bool paused = false;
        bool holdsRemoved = false; // listed in m_touched
    };

    TargetActions* find(const CCObject* pTarget) const;
    void removeAt(TargetActions& entry, size_t index);
    // Tidies only the targets that lost actions, so that stopping the actions of one node of
    // many costs as much as that node has.
    void sweep();
    void compactTargets();

    std::vector<TargetActions*> m_targets; // in order of first action; null where one has gone
    size_t m_emptySlots = 0;
    std::unordered_map<const CCObject*, TargetActions*> m_byTarget;
    std::vector<TargetActions*> m_touched; // targets holding removed actions
    std::vector<CCAction*> m_deferredReleases;
    bool m_updating = false;
};

NS_CC_END
