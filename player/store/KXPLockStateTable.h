#pragma once

// The process-wide lock states of scenes and purchases (name -> locked), stored as text under
// "KXP_LockStates", and the listeners that hear when the whole table is rebuilt.

#include <functional>
#include <string>
#include <unordered_map>

using KXPLockStateMap = std::unordered_map<std::string, bool>;

KXPLockStateMap& lockStateTable();

// The flag of that name; a name not yet in the table is inserted locked (true). The reference
// stays valid until the table is rebuilt, which the listeners are told about.
bool& lockState(const std::string& name);

// Empties the table, then calls every listener in registration order.
void clearLockStates();
// Replaces the table from its text (first occurrence of a name wins), then calls every listener.
void parseLockStates(const std::string& text);
std::string serializeLockStates();

// A registration in the lock-state listener list for as long as it lives. Buttons that keep a
// reference into the table hold one and renew the reference when called.
class KXPLockStateListener {
public:
    explicit KXPLockStateListener(std::function<void()> callback);
    ~KXPLockStateListener();
    KXPLockStateListener(const KXPLockStateListener&) = delete;
    KXPLockStateListener& operator=(const KXPLockStateListener&) = delete;

private:
    unsigned long m_id;
};
