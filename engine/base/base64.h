// Base64 decoding of stored texts.
#pragma once

#include "base/ccMacros.h"

NS_CC_BEGIN

// Decodes inLength bytes of base64 text. White space is skipped and decoding stops at the first "=".
// Returns the decoded length and stores a new[]-allocated buffer in *out that the caller frees with
// delete[]. Any other character outside the alphabet, or a dangling single character, gives 0 and
// *out null.
int base64Decode(const unsigned char* in, unsigned int inLength, unsigned char** out);

NS_CC_END
