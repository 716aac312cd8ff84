// The termination guard: a signal gives the frame loop a grace period to end the run itself; past
// it the guard ends the process from its own thread, after any store write under way and holding
// the store's lock so that none begins after. The clock, the line it writes and the end are the
// test's, so nothing here ends the test process.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <future>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/CCStoreFile.h"
#include "player/desktop/KXPTermination.h"
#include "player/desktop/KXPTerminationGuard.h"
#include "support/temp_folder.h"

namespace {

using std::chrono::milliseconds;
using State = KXPTerminationGuard::State;

const char* const kLateLine = "[KXPTermination] the game did not come round within 2 s: ending without "
                              "saving; progress since the last save was not written";

// Waits for a condition another thread brings about; false after a deadline far beyond any
// scheduling delay.
template <class Condition> bool eventually(Condition condition) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(milliseconds(1));
    }
    return true;
}

// Whether another thread holds the store's lock (a lock may not be tried by its own holder).
bool storeLockHeldElsewhere() {
    return std::async(std::launch::async,
                      [] {
                          std::unique_lock<std::mutex> lock(cocos2d::storeWriteLock(), std::try_to_lock);
                          return !lock.owns_lock();
                      })
        .get();
}

class TerminationGuard : public ::testing::Test {
protected:
    void TearDown() override { m_guard.reset(); }

    void makeGuard() {
        KXPTerminationGuard::Options options;
        options.grace = milliseconds(2000);
        options.now = [this] { return KXPTerminationGuard::Clock::time_point(milliseconds(m_now.load())); };
        options.report = [this](const std::string& line) { record("line: " + line); };
        options.end = [this] {
            m_saveFinishedAtEnd = m_saveFinished.load();
            m_storeLockedAtEnd = storeLockHeldElsewhere();
            record("end");
            ++m_ends;
        };
        m_guard = std::make_unique<KXPTerminationGuard>(options);
    }

    void advance(milliseconds by) { m_now += by.count(); }

    bool reaches(State state) {
        return eventually([&] { return m_guard->state() == state; });
    }

    bool ended() {
        return eventually([&] { return m_ends.load() > 0; });
    }

    void record(const std::string& event) {
        std::lock_guard<std::mutex> lock(m_eventsMutex);
        m_events.push_back(event);
    }

    std::vector<std::string> events() {
        std::lock_guard<std::mutex> lock(m_eventsMutex);
        return m_events;
    }

    std::atomic<long long> m_now{1000000};
    std::atomic<int> m_ends{0};
    std::atomic<bool> m_saveFinished{false};
    bool m_saveFinishedAtEnd = false;
    bool m_storeLockedAtEnd = false;
    std::mutex m_eventsMutex;
    std::vector<std::string> m_events;
    std::unique_ptr<KXPTerminationGuard> m_guard;
};

// The handlers' state is the process's: what the test installs goes again.
class TerminationSignals : public TerminationGuard {
protected:
    void SetUp() override {
        sigaction(SIGTERM, nullptr, &m_previousTerm);
        sigaction(SIGINT, nullptr, &m_previousInt);
    }
    void TearDown() override {
        installTerminationHandlers(nullptr);
        sigaction(SIGTERM, &m_previousTerm, nullptr);
        sigaction(SIGINT, &m_previousInt, nullptr);
        clearTerminationRequest();
        TerminationGuard::TearDown();
    }

    struct sigaction m_previousTerm = {};
    struct sigaction m_previousInt = {};
};

} // namespace

TEST_F(TerminationGuard, ARunThatEndsWithinTheGraceIsLeftToEndItself) {
    makeGuard();
    m_guard->wake();
    ASSERT_TRUE(reaches(State::kCounting));
    advance(milliseconds(1500));
    m_guard->noteLoopEnded();
    m_guard->noteRunOver();
    ASSERT_TRUE(reaches(State::kStoodDown));
    advance(milliseconds(60000));
    m_guard.reset();
    EXPECT_EQ(m_ends.load(), 0);
    EXPECT_TRUE(events().empty());

    // A signal while the process returns from main, the run already over: nothing is counted.
    makeGuard();
    m_guard->noteRunOver();
    m_guard->wake();
    ASSERT_TRUE(reaches(State::kStoodDown));
    m_guard.reset();
    EXPECT_EQ(m_ends.load(), 0);
}

TEST_F(TerminationGuard, ARunThatDoesNotComeRoundIsEndedAfterTheGraceWithOneLine) {
    makeGuard();
    m_guard->wake();
    m_guard->wake();
    ASSERT_TRUE(reaches(State::kCounting));
    advance(milliseconds(1000));
    // A second signal while counting does not start the grace again.
    m_guard->wake();
    advance(milliseconds(1000));
    ASSERT_TRUE(ended());
    EXPECT_EQ(events(), (std::vector<std::string>{std::string("line: ") + kLateLine, "end"}));
    EXPECT_TRUE(m_storeLockedAtEnd);
    EXPECT_EQ(m_guard->state(), State::kEnded);
}

TEST_F(TerminationGuard, ASaveUnderWayFinishesBeforeTheEndAndNoneBeginsAfter) {
    makeGuard();
    {
        // The main thread in the middle of a store write.
        std::unique_lock<std::mutex> writing(cocos2d::storeWriteLock());
        m_guard->wake();
        ASSERT_TRUE(reaches(State::kCounting));
        advance(milliseconds(3000));
        ASSERT_TRUE(reaches(State::kWaitingForStore));
        EXPECT_EQ(m_ends.load(), 0);
        m_saveFinished = true;
    }
    ASSERT_TRUE(ended());
    EXPECT_TRUE(m_saveFinishedAtEnd);
    // Held when the process ends: a writer would wait for it.
    EXPECT_TRUE(m_storeLockedAtEnd);
    EXPECT_EQ(events(), (std::vector<std::string>{std::string("line: ") + kLateLine, "end"}));
}

// The line tells whether the store holds the run's progress: the loop's final save, made or not.
TEST_F(TerminationGuard, AFinalSaveMadeEndsSilentlyAndOneRefusedOrFailedSaysSo) {
    TempFolder folder;
    const std::string store = folder.file("UserDefault.xml");
    const auto save = [&] {
        std::string error;
        std::string notes;
        return cocos2d::replaceFileAtomically(store, "<store/>", error, notes);
    };
    // The loop ended and saved, and then the rest of the run held on past the grace.
    makeGuard();
    m_guard->wake();
    ASSERT_TRUE(reaches(State::kCounting));
    m_guard->noteLoopEnded();
    ASSERT_TRUE(save());
    advance(milliseconds(2000));
    ASSERT_TRUE(ended());
    EXPECT_EQ(events(), (std::vector<std::string>{"end"}));

    // A save before the loop ended is not its final one; a final save that could not write (a full
    // disk, a store folder gone) leaves the progress unwritten.
    for (const bool beforeTheEnd : {true, false}) {
        m_guard.reset();
        m_events.clear();
        m_ends = 0;
        makeGuard();
        if (beforeTheEnd) {
            ASSERT_TRUE(save());
            m_guard->noteLoopEnded();
        } else {
            m_guard->noteLoopEnded();
            std::string error;
            std::string notes;
            ASSERT_FALSE(cocos2d::replaceFileAtomically(folder.file("gone/UserDefault.xml"), "<store/>",
                                                        error, notes));
        }
        m_guard->wake();
        ASSERT_TRUE(reaches(State::kCounting));
        advance(milliseconds(2000));
        ASSERT_TRUE(ended());
        EXPECT_EQ(events(), (std::vector<std::string>{std::string("line: ") + kLateLine, "end"}))
            << beforeTheEnd;
    }
}

// The guard's own end, in a child process: a frame that never comes round, the real clock, standard
// error and the process's end.
TEST(TerminationGuardEnd, APlayerHeldInAFrameEndsWithZeroAndOneLine) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            KXPTerminationGuard::Options options;
            options.grace = milliseconds(200);
            auto* guard = new KXPTerminationGuard(options);
            guard->wake();
            // The frame that holds on, for far longer than the grace (a guard that never ends it
            // fails with another status rather than hold the suite).
            for (int slice = 0; slice < 1200; ++slice) {
                std::this_thread::sleep_for(milliseconds(50));
            }
            std::_Exit(3);
        },
        ::testing::ExitedWithCode(0),
        "the game did not come round within 200 ms: ending without saving; progress since the last save "
        "was not written");
}

TEST_F(TerminationSignals, TheSignalsAskTheLoopToCloseAndWakeTheGuard) {
    makeGuard();
    installTerminationHandlers(m_guard.get());
    clearTerminationRequest();
    std::raise(SIGTERM);
    EXPECT_TRUE(terminationRequested());
    ASSERT_TRUE(reaches(State::kCounting));
    std::raise(SIGINT);
    m_guard->noteLoopEnded();
    m_guard->noteRunOver();
    ASSERT_TRUE(reaches(State::kStoodDown));
    installTerminationHandlers(nullptr);
    m_guard.reset();
    EXPECT_EQ(m_ends.load(), 0);

    // SIGINT alone does the same.
    makeGuard();
    installTerminationHandlers(m_guard.get());
    clearTerminationRequest();
    std::raise(SIGINT);
    EXPECT_TRUE(terminationRequested());
    ASSERT_TRUE(reaches(State::kCounting));
    advance(milliseconds(2000));
    ASSERT_TRUE(ended());
    EXPECT_EQ(events(), (std::vector<std::string>{std::string("line: ") + kLateLine, "end"}));
}
