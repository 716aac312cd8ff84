#include "model/KXDebugLog.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <locale.h>

namespace {

const size_t kBufferSize = 255;

std::function<void(const std::string&)>& currentSink() {
    static std::function<void(const std::string&)> sink;
    return sink;
}

// Length of text cut back so that it does not end inside a UTF-8 sequence.
size_t utf8SafeLength(const char* text, size_t length) {
    size_t start = length;
    // Find the first byte of the last character.
    while (start > 0 && (static_cast<unsigned char>(text[start - 1]) & 0xC0) == 0x80 && length - start < 3)
        --start;
    if (start == 0)
        return length;
    unsigned char lead = static_cast<unsigned char>(text[start - 1]);
    size_t have = length - start + 1;
    size_t need = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    return have < need ? start - 1 : length;
}

} // namespace

void debugLog(const char* format, ...) {
    if (!format)
        return;
    char buffer[kBufferSize];
    static locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    locale_t previous = cLocale ? uselocale(cLocale) : static_cast<locale_t>(0);
    va_list args;
    va_start(args, format);
    int written = std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    if (cLocale)
        uselocale(previous);
    if (written < 0)
        return;
    size_t length = std::min(static_cast<size_t>(written), sizeof buffer - 1);
    if (static_cast<size_t>(written) > length)
        length = utf8SafeLength(buffer, length);
    std::string line(buffer, length);

    if (currentSink()) {
        currentSink()(line);
        return;
    }
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
}

void setDebugLogSink(std::function<void(const std::string&)> sink) {
    currentSink() = std::move(sink);
}

KXDebugLogCapture::KXDebugLogCapture() {
    setDebugLogSink([this](const std::string& line) { m_lines.push_back(line); });
}

KXDebugLogCapture::~KXDebugLogCapture() {
    setDebugLogSink(nullptr);
}

bool KXDebugLogCapture::contains(const std::string& line) const {
    return std::find(m_lines.begin(), m_lines.end(), line) != m_lines.end();
}
