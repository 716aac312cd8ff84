#pragma once

// The process-wide on/off states of the switch buttons, keyed by the button model, so that a
// rebuilt screen shows its switches as they were left. The move component reads and inverts
// them too. Emptied when a level is restarted or rebuilt and when a scene is built.

#include <memory>
#include <unordered_map>

class KXModel;

// The table keeps its models alive until it is emptied, so that a key never stands for a model
// that was freed and whose address another model took.
using KXPSwitchStateMap = std::unordered_map<std::shared_ptr<const KXModel>, bool>;

KXPSwitchStateMap& switchStateTable();

// Empties the table and gives it back its initial 8 buckets.
void clearSwitchStates();
