// Umbrella of the engine's base headers.
#pragma once

#include "base/CCAffineTransform.h"
#include "base/CCArray.h"
#include "base/CCAutoreleasePool.h"
#include "base/CCBoxedNumbers.h"
#include "base/CCDictionary.h"
#include "base/CCGeometry.h"
#include "base/CCObject.h"
#include "base/CCPointExtension.h"
#include "base/CCSet.h"
#include "base/CCString.h"
#include "base/base64.h"
#include "base/ccMacros.h"
#include "base/ccTypes.h"
#include "platform/CCFileUtils.h"
#include "platform/CCUserDefault.h"
