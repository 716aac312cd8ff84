// The index a model keeps beside its lists of links once one of them is long: the same links, found
// by address.
#pragma once

#include <cstddef>
#include <memory>
#include <unordered_map>
#include <unordered_set>

#include "model/KXModel.h"

struct KXModel::LinkIndex {
    // Each parent kept weakly, as in the list, so that an entry whose parent has gone matches no
    // model made later at its address.
    std::unordered_map<const KXModel*, std::weak_ptr<KXModel>> parents;
    std::unordered_set<const KXModel*> children;
    std::unordered_set<const KXBaseAttribute*> referrers;
    // How many parents the list held after its last purge.
    size_t parentsPurgedAt = 0;
};
