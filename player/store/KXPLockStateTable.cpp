#include "player/store/KXPLockStateTable.h"

#include "player/store/KXPTableText.h"

#include <sstream>
#include <utility>
#include <vector>

namespace {

struct Listener {
    unsigned long id;
    std::function<void()> callback;
};

// Made on first use and never destroyed, so that a listener that outlives static destruction
// (a button released late at exit) still finds its list.
std::vector<Listener>& listenerList() {
    static std::vector<Listener>* list = new std::vector<Listener>();
    return *list;
}
unsigned long nextListenerId = 1;

// A listener may register or remove listeners (a button destroyed by the rebuild): each is
// looked up again before it is called, and ones added during the pass wait for the next.
void notifyListeners() {
    std::vector<Listener>& listeners = listenerList();
    std::vector<unsigned long> ids;
    for (const Listener& listener : listeners) {
        ids.push_back(listener.id);
    }
    for (unsigned long id : ids) {
        for (const Listener& listener : listeners) {
            if (listener.id == id) {
                std::function<void()> callback = listener.callback;
                if (callback) {
                    callback();
                }
                break;
            }
        }
    }
}

} // namespace

KXPLockStateMap& lockStateTable() {
    static KXPLockStateMap* table = new KXPLockStateMap();
    return *table;
}

bool& lockState(const std::string& name) {
    return lockStateTable().emplace(name, true).first->second;
}

void clearLockStates() {
    lockStateTable().clear();
    notifyListeners();
}

void parseLockStates(const std::string& text) {
    KXPLockStateMap& table = lockStateTable();
    table.clear();
    for (const std::string& item : kx::splitTableItems(text)) {
        kx::TableItem parts = kx::splitTableItem(item);
        bool locked = false;
        std::istringstream in(parts.values);
        kx::prepareTableStream(in);
        in >> locked;
        table.emplace(parts.name, locked);
    }
    notifyListeners();
}

std::string serializeLockStates() {
    std::string out;
    bool first = true;
    for (const auto& entry : lockStateTable()) {
        if (!first) {
            out += ';';
        }
        first = false;
        out += kx::escapeTableName(entry.first);
        out += entry.second ? ":1" : ":0";
    }
    return out;
}

KXPLockStateListener::KXPLockStateListener(std::function<void()> callback) : m_id(nextListenerId++) {
    listenerList().push_back({m_id, std::move(callback)});
}

KXPLockStateListener::~KXPLockStateListener() {
    std::vector<Listener>& listeners = listenerList();
    for (auto it = listeners.begin(); it != listeners.end(); ++it) {
        if (it->id == m_id) {
            listeners.erase(it);
            break;
        }
    }
}
