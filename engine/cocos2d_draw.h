// Umbrella of the engine's draw headers.
#pragma once

#include "renderer/CCDrawingPrimitives.h"
#include "renderer/CCGLContext.h"
#include "renderer/CCGLProgram.h"
#include "renderer/CCQuadRenderer.h"
#include "renderer/CCShaderCache.h"
#include "renderer/ccDrawCounter.h"
#include "renderer/ccGLStateCache.h"
#include "renderer/ccShaders.h"

#include "textures/CCImageCodec.h"
#include "textures/CCTexture2D.h"
#include "textures/CCTextureCache.h"
#include "textures/CCTextureProtocol.h"

#include "sprites/CCAnimate.h"
#include "sprites/CCAnimation.h"
#include "sprites/CCRenderTexture.h"
#include "sprites/CCSprite.h"
#include "sprites/CCSpriteBatchNode.h"
#include "sprites/CCSpriteFrame.h"
#include "sprites/CCSpriteFrameCache.h"

#include "label/CCBMFontConfiguration.h"
#include "label/CCLabelBMFont.h"

#include "view/CCApplication.h"
#include "view/CCApplicationProtocol.h"
#include "view/CCEGLView.h"
#include "view/CCScreenshot.h"
