#pragma once

// The list of every kind of runtime object, gathered from the makers' own tables (see
// player/base/KXPKinds.h); it knows every maker, so it sits above them all.

#include <string>
#include <vector>

// Every "<factory>:<row>" the player can make, maker by maker, each table in its order.
std::vector<std::string> kxKindNames();
