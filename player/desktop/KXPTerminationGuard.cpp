#include "player/desktop/KXPTerminationGuard.h"

#include "platform/CCStoreFile.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <pthread.h>
#include <unistd.h>

namespace {

// The clock is read again this often while the grace runs, so that an injected one is followed.
constexpr std::chrono::milliseconds kSlice{10};

std::string lateLine(std::chrono::milliseconds grace) {
    const long long count = static_cast<long long>(grace.count());
    char within[32];
    if (count % 1000 == 0) {
        std::snprintf(within, sizeof within, "%lld s", count / 1000);
    } else {
        std::snprintf(within, sizeof within, "%lld ms", count);
    }
    return std::string("[KXPTermination] the game did not come round within ") + within +
           ": ending without saving; progress since the last save was not written";
}

void reportToStandardError(const std::string& line) {
    const std::string text = line + "\n";
    size_t written = 0;
    while (written < text.size()) {
        const ssize_t n = ::write(STDERR_FILENO, text.data() + written, text.size() - written);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return;
        }
        written += static_cast<size_t>(n);
    }
}

// Not exit(): its handlers and destructors would run beside a frame still under way. Standard
// output is flushed when no one is writing to it at that moment.
[[noreturn]] void endProcess() {
    if (ftrylockfile(stdout) == 0) {
        fflush_unlocked(stdout);
        funlockfile(stdout);
    }
    ::_exit(0);
}

} // namespace

KXPTerminationGuard::KXPTerminationGuard() : KXPTerminationGuard(Options()) {}

KXPTerminationGuard::KXPTerminationGuard(Options options) : m_options(std::move(options)) {
    if (!m_options.now) {
        m_options.now = [] { return Clock::now(); };
    }
    if (!m_options.report) {
        m_options.report = reportToStandardError;
    }
    if (!m_options.end) {
        m_options.end = endProcess;
    }
    ::sem_init(&m_wake, 0, 0);
    // The thread takes no signal: they go to the main thread, whose handler wakes it.
    sigset_t all;
    sigset_t previous;
    sigfillset(&all);
    pthread_sigmask(SIG_SETMASK, &all, &previous);
    m_thread = std::thread([this] { watch(); });
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
}

KXPTerminationGuard::~KXPTerminationGuard() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_all();
    ::sem_post(&m_wake);
    m_thread.join();
    ::sem_destroy(&m_wake);
}

void KXPTerminationGuard::wake() {
    ::sem_post(&m_wake);
}

void KXPTerminationGuard::noteLoopEnded() {
    const unsigned long writes = cocos2d::storeWritesCompleted();
    std::lock_guard<std::mutex> lock(m_mutex);
    m_loopEnded = true;
    m_writesAtLoopEnd = writes;
}

void KXPTerminationGuard::noteRunOver() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_runOver = true;
    }
    m_changed.notify_all();
}

void KXPTerminationGuard::watch() {
    // Only the first wake counts: later signals leave their posts unread.
    int waited = 0;
    do {
        waited = ::sem_wait(&m_wake);
    } while (waited != 0 && errno == EINTR);
    if (waited != 0) {
        return;
    }
    std::unique_lock<std::mutex> lock(m_mutex);
    if (!m_runOver && !m_stopping) {
        const Clock::time_point deadline = m_options.now() + m_options.grace;
        m_state = State::kCounting;
        while (!m_runOver && !m_stopping && m_options.now() < deadline) {
            m_changed.wait_for(lock, kSlice);
        }
    }
    if (m_stopping) {
        return;
    }
    if (m_runOver) {
        m_state = State::kStoodDown;
        return;
    }
    lock.unlock();
    end();
}

void KXPTerminationGuard::end() {
    m_state = State::kWaitingForStore;
    // Held to the end: a write under way finishes first, and none begins after.
    std::lock_guard<std::mutex> store(cocos2d::storeWriteLock());
    // Read under the store's lock: a final save either replaced the store by now or never will.
    bool saved = false;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        saved = m_loopEnded && cocos2d::storeWritesCompleted() > m_writesAtLoopEnd;
    }
    if (!saved) {
        m_options.report(lateLine(m_options.grace));
    }
    m_state = State::kEnded;
    m_options.end();
}
