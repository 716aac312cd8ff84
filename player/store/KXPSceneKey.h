#pragma once

// The key of the game scene that runs now ("" when none): the per-scene score and checkpoint
// tables file their figures under it. The screens controller knows it and hands the store a
// reader when it is made; before that no scene runs.

#include <string>

using KXPSceneKeyReader = const std::string& (*)();

void setSceneKeyReader(KXPSceneKeyReader reader);
const std::string& runningSceneKey();
