// Umbrella of the engine's scene headers.
#pragma once

#include "kazmath/kazmath.h"

#include "director/CCDirector.h"
#include "director/CCEGLViewProtocol.h"
#include "director/CCScheduler.h"

#include "nodes/CCLayer.h"
#include "nodes/CCNode.h"
#include "nodes/CCNodeRGBA.h"
#include "nodes/CCProtocols.h"
#include "nodes/CCScene.h"

#include "actions/CCAction.h"
#include "actions/CCActionInstant.h"
#include "actions/CCActionInterval.h"
#include "actions/CCActionManager.h"

#include "input/CCAccelerometer.h"
#include "input/CCKeypadDelegate.h"
#include "input/CCKeypadDispatcher.h"
#include "input/CCTouch.h"
#include "input/CCTouchDelegateProtocol.h"
#include "input/CCTouchDispatcher.h"

#include "menu/CCMenu.h"
#include "menu/CCMenuItem.h"
