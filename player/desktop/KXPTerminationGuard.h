#pragma once

// Ends the process when the frame loop does not answer a termination signal in time. The signal
// only asks the loop to close (KXPTermination.h) and wakes this guard; when the loop has not come
// round and finished the run within the grace period (one frame can take seconds), the guard ends
// the process from its own thread, outside the frame: it waits for a store write under way, takes
// the store's lock for good (no save begins after), says that the progress since the last save was
// not written (unless the final save is done), and ends with 0. It touches no game state.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <semaphore.h>
#include <string>
#include <thread>

class KXPTerminationGuard {
public:
    using Clock = std::chrono::steady_clock;

    enum class State {
        kWatching,        // no signal yet
        kCounting,        // a signal came: the loop has the grace period to finish the run
        kStoodDown,       // the run finished in time: the guard does nothing more
        kWaitingForStore, // the time ran out: waiting for a store write under way
        kEnded,           // the end was called
    };

    struct Options {
        std::chrono::milliseconds grace{2000};
        // The time the grace is counted on; the steady clock by default.
        std::function<Clock::time_point()> now;
        // Writes one line (no newline given); to standard error by default.
        std::function<void(const std::string&)> report;
        // Ends the process with 0 by default, without running exit handlers. It may return only in
        // tests: the guard then gives the store's lock back and its thread stops.
        std::function<void()> end;
    };

    // The player's: the real clock, standard error and _exit.
    KXPTerminationGuard();
    explicit KXPTerminationGuard(Options options);
    // Stops the thread (tests; the player's guard lives as long as the process).
    ~KXPTerminationGuard();
    KXPTerminationGuard(const KXPTerminationGuard&) = delete;
    KXPTerminationGuard& operator=(const KXPTerminationGuard&) = delete;

    // From a signal handler (async-signal-safe). The first wake starts the grace; later ones change
    // nothing.
    void wake();
    // From the main thread: the loop has ended; a store write after this is its final save.
    void noteLoopEnded();
    // From the main thread: the run is over; the process returns from main.
    void noteRunOver();

    State state() const { return m_state.load(); }

private:
    void watch();
    void end();

    Options m_options;
    sem_t m_wake;
    std::atomic<State> m_state{State::kWatching};
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_loopEnded = false;
    unsigned long m_writesAtLoopEnd = 0;
    bool m_runOver = false;
    bool m_stopping = false;
    std::thread m_thread;
};
