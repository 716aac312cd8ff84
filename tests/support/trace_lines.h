// Collects the trace lines of some kinds written while it lives, as the simulation tool would
// print them, without their frame; tracing is off again when it goes.
#pragma once

#include "player/base/KXPTrace.h"

#include <cstdio>
#include <string>
#include <vector>

namespace kxtest {

class TraceLines {
public:
    explicit TraceLines(const std::string& kinds) : m_file(std::tmpfile()) {
        kxTraceSetOutput(m_file);
        kxTraceEnableKinds(kinds);
    }
    ~TraceLines() {
        kxTraceEnableKinds("");
        kxTraceSetOutput(nullptr);
        if (m_file != nullptr) {
            std::fclose(m_file);
        }
    }
    TraceLines(const TraceLines&) = delete;
    TraceLines& operator=(const TraceLines&) = delete;

    // The lines so far, in order ("powerup end type=kPowerupMagnet").
    std::vector<std::string> lines() {
        std::vector<std::string> found;
        if (m_file == nullptr) {
            return found;
        }
        std::fflush(m_file);
        std::rewind(m_file);
        char line[512];
        while (std::fgets(line, sizeof line, m_file) != nullptr) {
            std::string text(line);
            text.erase(text.find_last_not_of("\r\n") + 1);
            const size_t space = text.find(' ');
            found.push_back(text.rfind("F=", 0) == 0 && space != std::string::npos ? text.substr(space + 1)
                                                                                   : text);
        }
        std::fseek(m_file, 0, SEEK_END);
        return found;
    }

private:
    std::FILE* m_file;
};

} // namespace kxtest
