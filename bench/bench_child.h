#pragma once

// The player keeps singletons that one game per process expects: a benchmark plays each run in a
// child process of its own and gets its figures back through a pipe.

#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <type_traits>

// Runs `play` in a child process; its figures (plain data) come back into `figures`. False when
// the child sent nothing (it failed to play, or died).
template <class Figures>
bool playInChildProcess(const std::function<bool(Figures*)>& play, Figures* figures) {
    static_assert(std::is_trivially_copyable<Figures>::value, "figures cross a pipe as bytes");
    int ends[2];
    if (::pipe(ends) != 0) {
        return false;
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(ends[0]);
        Figures out{};
        const bool played = play(&out);
        const bool sent = played && ::write(ends[1], &out, sizeof out) == static_cast<ssize_t>(sizeof out);
        ::_exit(sent ? 0 : 1);
    }
    ::close(ends[1]);
    const bool received = child > 0 && ::read(ends[0], figures, sizeof *figures) == sizeof *figures;
    ::close(ends[0]);
    if (child > 0) {
        int status = 0;
        ::waitpid(child, &status, 0);
    }
    return received;
}
