// The engine layer's umbrella header: everything of namespace cocos2d that the player uses.
#pragma once

#include "cocos2d_base.h"      // value types, objects, containers, files, user defaults, log
#include "cocos2d_draw.h"      // view, application loop, renderer, textures, sprites, labels
#include "cocos2d_particles.h" // particle systems
#include "cocos2d_scene.h"     // nodes, scenes, layers, director, scheduler, actions, input, menus
