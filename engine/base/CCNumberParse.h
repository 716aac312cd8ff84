// Locale-independent number reading and writing; the process locale may be changed by input libraries.
#pragma once

#include <cstdarg>
#include <string>

#include "base/ccMacros.h"

NS_CC_BEGIN

// Leading decimal integer after white space, saturated to the range of long long; 0 when there is none.
long long parseLeadingInteger(const char* text);
// Leading decimal number after white space ("1.5", "-2e3"); 0 when there is none or it is not finite.
double parseLeadingDouble(const char* text);
// The whole text (white space around allowed) is one finite decimal number.
bool parseWholeDouble(const char* text, double& out);
// Reads "{a,b,...}" with exactly count finite numbers; white space around numbers is allowed.
bool parseBracedFloats(const char* text, float* out, int count);
// Reads "{{x,y},{w,h}}".
bool parseBracedRect(const char* text, float out[4]);
// vsnprintf in the C locale.
std::string formatWithCLocale(const char* format, va_list args);

NS_CC_END
