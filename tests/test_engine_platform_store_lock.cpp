// The store's lock: a write holds it from its temporary file to the rename, so whoever takes it (a
// process ending at once) waits for a write under way and then finds the store whole, with no
// temporary file beside it.
#include <atomic>
#include <chrono>
#include <fstream>
#include <iterator>
#include <mutex>
#include <string>
#include <thread>
#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/CCStoreFile.h"
#include "support/temp_folder.h"

USING_NS_CC;

namespace {

bool exists(const std::string& path) {
    return ::access(path.c_str(), F_OK) == 0;
}

std::string contentsOf(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

} // namespace

TEST(StoreWriteLock, WhoTakesItDuringAWriteWaitsForItAndFindsTheStoreWhole) {
    TempFolder folder;
    const std::string path = folder.file("UserDefault.xml");
    const std::string temporary = path + ".tmp";
    // Large enough that a write (and its sync) is still going on when its temporary file is seen.
    const std::string padding(4 * 1024 * 1024, 'p');
    std::atomic<bool> stop{false};
    std::thread writer([&] {
        for (int write = 0; !stop; ++write) {
            std::string error;
            std::string notes;
            replaceFileAtomically(path, "<w>" + std::to_string(write) + padding + "</w>", error, notes);
        }
    });
    struct Stopper {
        std::atomic<bool>& stop;
        std::thread& writer;
        ~Stopper() {
            stop = true;
            writer.join();
        }
    } stopper{stop, writer};
    int caught = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    while (caught < 5 && std::chrono::steady_clock::now() < deadline) {
        if (!exists(temporary)) {
            std::this_thread::yield();
            continue;
        }
        // A write is under way: taking the lock waits for it.
        std::lock_guard<std::mutex> holding(storeWriteLock());
        ++caught;
        EXPECT_FALSE(exists(temporary)) << caught;
        const std::string store = contentsOf(path);
        ASSERT_GT(store.size(), padding.size() + 7) << caught;
        EXPECT_EQ(store.substr(0, 3), "<w>") << caught;
        EXPECT_EQ(store.substr(store.size() - 4), "</w>") << caught;
    }
    EXPECT_EQ(caught, 5) << "no write was seen under way";
}
