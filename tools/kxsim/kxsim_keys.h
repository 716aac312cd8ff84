// X key names as xdotool spells them ("Right", "space", "Return", "J") and the OIS key codes of
// the same physical keys, so that a scripted key takes the road a real one takes.
#pragma once

#include <OIS.h>

#include <string>

// False for a name without a key here.
bool oisKeyForName(const std::string& name, OIS::KeyCode* code);
// The text a key types (0 for none), as OIS reports it with the key.
unsigned int keyText(const std::string& name);
