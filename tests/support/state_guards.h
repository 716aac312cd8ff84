// Guards for the process-wide state a test replaces: each puts back what was there before when
// it goes, whatever the test did, so that the next test in the same process starts as the
// first one would. Every test executable runs whole in one process, in any order.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>
#include <utility>

#include "cocos2d.h"
#include "model/KXModelController.h"
#include "model/classes/KXGameplayValuesTarget.h"
#include "player/base/KXPClock.h"
#include "textures/CCPictureBudget.h"

namespace kxtest {

// The player's clock from `source`; the system's again afterwards.
class ScopedClock {
public:
    explicit ScopedClock(KXPClock::Source source) { KXPClock::replace(std::move(source)); }
    ~ScopedClock() { KXPClock::replace(nullptr); }
    ScopedClock(const ScopedClock&) = delete;
    ScopedClock& operator=(const ScopedClock&) = delete;
};

// A clear hook on the shared model store: a hook left behind would run in every later clear(),
// into the finished test's stack.
class ScopedClearHook {
public:
    explicit ScopedClearHook(std::function<void()> hook)
        : m_hook(KXModelController::shared()->addClearHook(std::move(hook))) {}
    ~ScopedClearHook() { KXModelController::shared()->removeClearHook(m_hook); }
    ScopedClearHook(const ScopedClearHook&) = delete;
    ScopedClearHook& operator=(const ScopedClearHook&) = delete;

private:
    unsigned int m_hook;
};

// A class a test registers in the shared store's registry, taken out again afterwards.
class ScopedModelClass {
public:
    explicit ScopedModelClass(std::string className) : m_className(std::move(className)) {}
    ~ScopedModelClass() { KXModelController::shared()->unregisterClass(m_className); }
    ScopedModelClass(const ScopedModelClass&) = delete;
    ScopedModelClass& operator=(const ScopedModelClass&) = delete;

private:
    std::string m_className;
};

// The shared store's id counter at `value`: the models made next take the ids after it (ids past
// INT_MAX, say). The counter found comes back afterwards.
class ScopedIdCounter {
public:
    explicit ScopedIdCounter(uint32_t value) : m_previous(KXModelController::shared()->idCounter()) {
        KXModelController::shared()->setIdCounter(value);
    }
    ~ScopedIdCounter() { KXModelController::shared()->setIdCounter(m_previous); }
    ScopedIdCounter(const ScopedIdCounter&) = delete;
    ScopedIdCounter& operator=(const ScopedIdCounter&) = delete;

private:
    uint32_t m_previous;
};

// Where powerups write their gameplay values: the target found at construction comes back.
class ScopedGameplayTarget {
public:
    ScopedGameplayTarget() : m_previous(KXGameplayValuesTarget::shared()) {}
    ~ScopedGameplayTarget() { KXGameplayValuesTarget::setShared(m_previous); }
    ScopedGameplayTarget(const ScopedGameplayTarget&) = delete;
    ScopedGameplayTarget& operator=(const ScopedGameplayTarget&) = delete;

private:
    KXGameplayValuesTarget* m_previous;
};

// The application name the writable folder is named after (a loaded game sets its own).
class ScopedApplicationName {
public:
    ScopedApplicationName() : m_previous(cocos2d::CCFileUtils::sharedFileUtils()->getApplicationName()) {}
    ~ScopedApplicationName() { cocos2d::CCFileUtils::sharedFileUtils()->setApplicationName(m_previous); }
    ScopedApplicationName(const ScopedApplicationName&) = delete;
    ScopedApplicationName& operator=(const ScopedApplicationName&) = delete;

private:
    std::string m_previous;
};

// An environment variable as it was when the guard was made, whatever the test set meanwhile.
class ScopedEnvironment {
public:
    explicit ScopedEnvironment(const char* name) : m_name(name) {
        const char* value = std::getenv(name);
        m_had = value != nullptr;
        m_value = value != nullptr ? value : "";
    }
    ~ScopedEnvironment() {
        if (m_had) {
            ::setenv(m_name.c_str(), m_value.c_str(), 1);
        } else {
            ::unsetenv(m_name.c_str());
        }
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    std::string m_name;
    std::string m_value;
    bool m_had = false;
};

// The budget of decoded pictures set to what the pictures alive hold now plus `room` bytes; the
// budget found comes back afterwards.
class ScopedPictureRoom {
public:
    explicit ScopedPictureRoom(std::uint64_t room) : m_previous(cocos2d::ccPictureBudget()) {
        cocos2d::ccSetPictureBudget(cocos2d::ccPictureBytesHeld() + room);
    }
    ~ScopedPictureRoom() { cocos2d::ccSetPictureBudget(m_previous); }
    ScopedPictureRoom(const ScopedPictureRoom&) = delete;
    ScopedPictureRoom& operator=(const ScopedPictureRoom&) = delete;

private:
    std::uint64_t m_previous;
};

} // namespace kxtest
