#include "player/base/KXPTrace.h"

#include <cstdarg>
#include <set>

namespace {

struct TraceState {
    bool any = false;
    bool all = false;
    std::set<std::string> kinds;
    unsigned int frame = 0;
    std::FILE* output = nullptr;
};

TraceState& state() {
    static TraceState traces;
    return traces;
}

} // namespace

bool kxTraceEnabled(const char* kind) {
    const TraceState& traces = state();
    if (!traces.any || kind == nullptr) {
        return false;
    }
    return traces.all || traces.kinds.count(kind) > 0;
}

void kxTrace(const char* kind, const char* format, ...) {
    if (!kxTraceEnabled(kind)) {
        return;
    }
    TraceState& traces = state();
    std::FILE* out = traces.output != nullptr ? traces.output : stdout;
    std::fprintf(out, "F=%u ", traces.frame);
    va_list arguments;
    va_start(arguments, format);
    std::vfprintf(out, format, arguments);
    va_end(arguments);
    std::fputc('\n', out);
    std::fflush(out);
}

void kxTraceEnableKinds(const std::string& kinds) {
    TraceState& traces = state();
    traces.kinds.clear();
    traces.all = false;
    size_t start = 0;
    while (start <= kinds.size()) {
        const size_t comma = kinds.find(',', start);
        const std::string kind =
            kinds.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        if (kind == "all") {
            traces.all = true;
        } else if (!kind.empty()) {
            traces.kinds.insert(kind);
        }
        if (comma == std::string::npos) {
            break;
        }
        start = comma + 1;
    }
    traces.any = traces.all || !traces.kinds.empty();
}

void kxTraceSetFrame(unsigned int frame) {
    state().frame = frame;
}

unsigned int kxTraceFrame() {
    return state().frame;
}

void kxTraceSetOutput(std::FILE* output) {
    state().output = output;
}
