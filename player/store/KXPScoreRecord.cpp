#include "player/store/KXPScoreRecord.h"

void KXPScoreRecord::commit() {
    distance.commit();
    points.commit();
    coins.commit();
}

void KXPScoreRecord::revert() {
    distance.revert();
    points.revert();
    coins.revert();
}
