#include "actions/CCActionManager.h"

#include <algorithm>

#include "actions/CCAction.h"
#include "nodes/CCNode.h"

NS_CC_BEGIN

CCActionManager::~CCActionManager() {
    removeAllActions();
}

CCActionManager::TargetActions* CCActionManager::find(const CCObject* pTarget) const {
    auto it = m_byTarget.find(pTarget);
    return it == m_byTarget.end() ? nullptr : it->second;
}

void CCActionManager::addAction(CCAction* pAction, CCNode* pTarget, bool paused) {
    if (!pAction || !pTarget) {
        return;
    }
    TargetActions* entry = find(pTarget);
    if (!entry) {
        entry = new TargetActions();
        entry->target = pTarget;
        entry->paused = paused;
        entry->slot = m_targets.size();
        pTarget->retain();
        m_targets.push_back(entry);
        m_byTarget[pTarget] = entry;
    }
    if (std::find(entry->actions.begin(), entry->actions.end(), pAction) == entry->actions.end()) {
        pAction->retain();
        entry->actions.push_back(pAction);
    }
    pAction->startWithTarget(pTarget);
}

void CCActionManager::removeAt(TargetActions& entry, size_t index) {
    CCAction* action = entry.actions[index];
    if (!action) {
        return;
    }
    entry.actions[index] = nullptr;
    if (!entry.holdsRemoved) {
        entry.holdsRemoved = true;
        m_touched.push_back(&entry);
    }
    // The action may be the one stepping right now: release it after the pass.
    m_deferredReleases.push_back(action);
    if (!m_updating) {
        sweep();
    }
}

void CCActionManager::removeAllActions() {
    const bool wasUpdating = m_updating;
    m_updating = true; // no sweep while walking the targets
    for (TargetActions* entry : m_targets) {
        for (size_t i = 0; entry != nullptr && i < entry->actions.size(); ++i) {
            removeAt(*entry, i);
        }
    }
    m_updating = wasUpdating;
    if (!m_updating) {
        sweep();
    }
}

void CCActionManager::removeAllActionsFromTarget(CCObject* pTarget) {
    TargetActions* entry = find(pTarget);
    if (!entry) {
        return;
    }
    const bool wasUpdating = m_updating;
    m_updating = true; // one sweep at the end, not one per action
    for (size_t i = 0; i < entry->actions.size(); ++i) {
        removeAt(*entry, i);
    }
    m_updating = wasUpdating;
    if (!m_updating) {
        sweep();
    }
}

void CCActionManager::removeAction(CCAction* pAction) {
    if (!pAction) {
        return;
    }
    for (TargetActions* entry : m_targets) {
        if (entry == nullptr) {
            continue;
        }
        auto it = std::find(entry->actions.begin(), entry->actions.end(), pAction);
        if (it != entry->actions.end()) {
            removeAt(*entry, static_cast<size_t>(it - entry->actions.begin()));
            return;
        }
    }
}

void CCActionManager::removeActionByTag(int tag, CCObject* pTarget) {
    TargetActions* entry = find(pTarget);
    if (!entry) {
        return;
    }
    for (size_t i = 0; i < entry->actions.size(); ++i) {
        if (entry->actions[i] && entry->actions[i]->getTag() == tag) {
            removeAt(*entry, i);
            return;
        }
    }
}

CCAction* CCActionManager::getActionByTag(int tag, CCObject* pTarget) const {
    const TargetActions* entry = find(pTarget);
    if (!entry) {
        return nullptr;
    }
    for (CCAction* action : entry->actions) {
        if (action && action->getTag() == tag) {
            return action;
        }
    }
    return nullptr;
}

unsigned int CCActionManager::numberOfRunningActionsInTarget(CCObject* pTarget) const {
    const TargetActions* entry = find(pTarget);
    if (!entry) {
        return 0;
    }
    return static_cast<unsigned int>(std::count_if(entry->actions.begin(), entry->actions.end(),
                                                   [](CCAction* action) { return action != nullptr; }));
}

void CCActionManager::pauseTarget(CCObject* pTarget) {
    if (TargetActions* entry = find(pTarget)) {
        entry->paused = true;
    }
}

void CCActionManager::resumeTarget(CCObject* pTarget) {
    if (TargetActions* entry = find(pTarget)) {
        entry->paused = false;
    }
}

bool CCActionManager::isTargetPaused(CCObject* pTarget) const {
    const TargetActions* entry = find(pTarget);
    return entry && entry->paused;
}

void CCActionManager::update(float dt) {
    if (m_updating) {
        return;
    }
    m_updating = true;
    // Indices, not iterators: actions may add targets and actions while they step.
    for (size_t t = 0; t < m_targets.size(); ++t) {
        TargetActions* entry = m_targets[t];
        for (size_t i = 0; entry != nullptr && i < entry->actions.size(); ++i) {
            if (entry->paused) {
                break; // an action may pause its own target
            }
            CCAction* action = entry->actions[i];
            if (!action) {
                continue;
            }
            action->step(dt);
            if (entry->actions[i] == action && action->isDone()) {
                action->stop();
                removeAt(*entry, i);
            }
        }
    }
    m_updating = false;
    sweep();
}

void CCActionManager::sweep() {
    // Releasing may destroy objects whose destructors call back here: loop until stable.
    while (!m_touched.empty() || !m_deferredReleases.empty()) {
        std::vector<CCObject*> toRelease;
        toRelease.insert(toRelease.end(), m_deferredReleases.begin(), m_deferredReleases.end());
        m_deferredReleases.clear();
        std::vector<TargetActions*> touched;
        touched.swap(m_touched);
        // Targets left without actions are let go in the order they run.
        std::sort(touched.begin(), touched.end(),
                  [](const TargetActions* a, const TargetActions* b) { return a->slot < b->slot; });
        for (TargetActions* entry : touched) {
            entry->holdsRemoved = false;
            entry->actions.erase(std::remove(entry->actions.begin(), entry->actions.end(), nullptr),
                                 entry->actions.end());
            if (entry->actions.empty()) {
                m_byTarget.erase(entry->target);
                toRelease.push_back(entry->target);
                m_targets[entry->slot] = nullptr;
                ++m_emptySlots;
                delete entry;
            }
        }
        compactTargets();
        for (CCObject* object : toRelease) {
            object->release();
        }
    }
}

void CCActionManager::compactTargets() {
    // Once most places are empty: a walk over the targets stays in proportion to those left.
    if (m_emptySlots * 2 <= m_targets.size()) {
        return;
    }
    size_t kept = 0;
    for (TargetActions* entry : m_targets) {
        if (entry != nullptr) {
            entry->slot = kept;
            m_targets[kept++] = entry;
        }
    }
    m_targets.resize(kept);
    m_emptySlots = 0;
}

NS_CC_END
