#pragma once

// Kinds of runtime objects. Every maker of runtime objects (the asset, screen-object, button,
// component, level and animation factories, and the few single makers) names each of its rows in
// its own table. As a row makes an object, a "kinds" trace line names it ("kind asset:unit"), so
// a run shows what it built; the simulation tool lists every row there is, to find kinds that no
// game makes.

#include <vector>

// One maker's rows, in its table's order.
struct KXPKindTable {
    const char* factory;
    std::vector<const char*> rows;
};

// Traces "kind <factory>:<row>" under the "kinds" trace.
void kxKindMade(const char* factory, const char* row);
