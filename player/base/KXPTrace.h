#pragma once

// Trace lines for the simulation tool: game code reports what happened ("screen open
// key=title") under a kind ("screens"); when the tool enabled that kind, one line
// "F=<frame> <text>" goes to its output. In the player no kind is enabled and a trace costs one
// test of a flag. Kinds are free words; a new kind needs no change here.

#include <cstdio>
#include <string>

// Whether lines of that kind are printed; compute costly arguments only when true.
bool kxTraceEnabled(const char* kind);
// One line of that kind, printf-style, when the kind is enabled.
void kxTrace(const char* kind, const char* format, ...) __attribute__((format(printf, 2, 3)));

// --- For the tool ---
// A comma-separated list of kinds ("screens,field"); "all" enables every kind, "" none.
void kxTraceEnableKinds(const std::string& kinds);
// The frame number the next lines carry.
void kxTraceSetFrame(unsigned int frame);
unsigned int kxTraceFrame();
// Where the lines go (standard output by default); not owned.
void kxTraceSetOutput(std::FILE* output);
