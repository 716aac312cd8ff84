#include "player/KXPInputController.h"

#include "model/KXDebugLog.h"
#include "model/KXModel.h"
#include "player/objects/KXObjectModelHolder.h"
#include "player/objects/KXPObjectButton.h"

#include <algorithm>

using namespace cocos2d;

namespace {
KXPInputController* g_sharedController = nullptr;

// The buttons' own release() is the button's release, so references go through CCObject.
void holdAll(const std::vector<KXPObjectButton*>& buttons, bool hold) {
    for (KXPObjectButton* button : buttons) {
        CCObject* object = button;
        if (hold) {
            object->retain();
        } else {
            object->release();
        }
    }
}
} // namespace

KXPInputController* KXPInputController::shared() {
    if (g_sharedController == nullptr) {
        g_sharedController = new KXPInputController();
        CCDirector::sharedDirector()->getKeypadDispatcher()->addDelegate(g_sharedController);
    }
    return g_sharedController;
}

void KXPInputController::purgeShared() {
    if (g_sharedController == nullptr) {
        return;
    }
    CCDirector::sharedDirector()->getKeypadDispatcher()->removeDelegate(g_sharedController);
    KXPInputController* controller = g_sharedController;
    g_sharedController = nullptr;
    controller->release();
}

KXPInputController::KXPInputController() = default;

KXPInputController::~KXPInputController() {
    debugLog("KXPInputController - deallocated");
}

void KXPInputController::actionPressed(int action, CCObject* sender) {
    if (!m_enabled) {
        return;
    }
    notifyListeners(action, sender);
}

void KXPInputController::actionReleased(int action, CCObject* sender) {
    if (!m_enabled) {
        return;
    }
    notifyListeners(action, sender);
}

void KXPInputController::notifyListeners(int action, CCObject* sender) {
    // A copy: a handler may subscribe or unsubscribe while it runs.
    const std::vector<Listener> listeners = m_listenersByAction[action];
    for (const Listener& listener : listeners) {
        if (listener.target == nullptr || listener.handler == nullptr) {
            continue;
        }
        if (listener.sourceId != 0 && sender != nullptr) {
            const std::shared_ptr<KXModel> model = KXObjectModelHolder::modelOf(sender);
            if (!model || model->id() != static_cast<uint32_t>(listener.sourceId)) {
                continue;
            }
        }
        (listener.target->*listener.handler)(sender);
    }
}

void KXPInputController::subscribe(int action, CCObject* target, SEL_CallFuncO handler, int sourceId) {
    m_listenersByAction[action].push_back(Listener{target, handler, sourceId});
}

void KXPInputController::unsubscribe(CCObject* target) {
    for (auto& entry : m_listenersByAction) {
        std::vector<Listener>& listeners = entry.second;
        auto found = std::find_if(listeners.begin(), listeners.end(),
                                  [target](const Listener& listener) { return listener.target == target; });
        if (found != listeners.end()) {
            listeners.erase(found);
            debugLog("action unsubscribed");
        }
    }
}

void KXPInputController::dispatch(CCObject* sender, int action, int sourceId) {
    const std::vector<Listener> listeners = m_listenersByAction[action];
    for (const Listener& listener : listeners) {
        if (listener.target == nullptr || listener.handler == nullptr) {
            continue;
        }
        if (listener.sourceId == 0 || sourceId == 0 || listener.sourceId == sourceId) {
            (listener.target->*listener.handler)(sender);
        }
    }
}

std::map<int, std::vector<KXPObjectButton*>>& KXPInputController::buttonsByKey() {
    // Never destroyed: buttons may still unregister while the process shuts down.
    static auto* buttons = new std::map<int, std::vector<KXPObjectButton*>>();
    return *buttons;
}

void KXPInputController::registerButton(int key, KXPObjectButton* button) {
    if (button != nullptr) {
        buttonsByKey()[key].push_back(button);
    }
}

void KXPInputController::unregisterButton(int key, KXPObjectButton* button) {
    auto found = buttonsByKey().find(key);
    if (found == buttonsByKey().end()) {
        return;
    }
    std::vector<KXPObjectButton*>& buttons = found->second;
    buttons.erase(std::remove(buttons.begin(), buttons.end(), button), buttons.end());
    if (buttons.empty()) {
        buttonsByKey().erase(found);
    }
}

bool KXPInputController::pressKeyButtons(int key, KXPScreen* screen) {
    auto found = buttonsByKey().find(key);
    if (found == buttonsByKey().end()) {
        return false;
    }
    // Held for the walk: a press may lead to another bound button being taken down.
    const std::vector<KXPObjectButton*> buttons = found->second;
    holdAll(buttons, true);
    bool pressed = false;
    for (KXPObjectButton* button : buttons) {
        if (button->parentScreen() == screen) {
            button->press();
            pressed = true;
        }
    }
    holdAll(buttons, false);
    return pressed;
}

bool KXPInputController::releaseKeyButtons(int key, KXPScreen* screen) {
    auto found = buttonsByKey().find(key);
    if (found == buttonsByKey().end()) {
        return false;
    }
    const std::vector<KXPObjectButton*> buttons = found->second;
    holdAll(buttons, true);
    bool released = false;
    for (KXPObjectButton* button : buttons) {
        if (button->parentScreen() == screen) {
            button->release();
            released = true;
        }
    }
    holdAll(buttons, false);
    return released;
}
