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
        bool paused = false;
    };

    TargetActions* find(const CCObject* pTarget) const;
    void removeAt(TargetActions& entry, size_t index);
    void sweep();

    std::vector<TargetActions*> m_targets; // in order of first action
    std::unordered_map<const CCObject*, TargetActions*> m_byTarget;
    std::vector<CCAction*> m_deferredReleases;
    bool m_updating = false;
    bool m_dirty = false;
};

NS_CC_END
