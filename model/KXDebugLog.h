// The player's printf-style debug log.
#pragma once

#include <functional>
#include <string>
#include <vector>

// Formats into a buffer of 255 characters (longer text is cut, never in the middle of a UTF-8
// character), numbers in the C locale, and writes the text and a line break to standard error.
void debugLog(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Receives each formatted line (without the line break) instead of standard error; an empty function
// restores standard error. For tests.
void setDebugLogSink(std::function<void(const std::string&)> sink);

// Captures the log lines written while it lives.
class KXDebugLogCapture {
public:
    KXDebugLogCapture();
    ~KXDebugLogCapture();
    KXDebugLogCapture(const KXDebugLogCapture&) = delete;
    KXDebugLogCapture& operator=(const KXDebugLogCapture&) = delete;

    const std::vector<std::string>& lines() const { return m_lines; }
    bool contains(const std::string& line) const;
    void clear() { m_lines.clear(); }

private:
    std::vector<std::string> m_lines;
};
