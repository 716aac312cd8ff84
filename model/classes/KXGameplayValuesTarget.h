#pragma once

// Where a powerup asset writes its gameplay values. The player's live gameplay record
// implements it; the model layer cannot name that record (it sits above the model), so the
// record announces itself here when it is made.

#include "model/classes/KXGameplayValues.h"

class KXGameplayValuesTarget {
public:
    virtual ~KXGameplayValuesTarget();

    // Keeps the current values so that the powerup's end can bring them back.
    virtual void saveValues() = 0;
    // The live values, written in place.
    virtual KXGameplayValues& gameplayValues() = 0;

    // The process-wide record, once the player has made it; null before that.
    static KXGameplayValuesTarget* shared();
    static void setShared(KXGameplayValuesTarget* target);
};
