// kxdata graph DIR: the screen flow of a game, as the player follows it from the start node.
#pragma once

#include <cstdio>
#include <string>

namespace kxdata {

// One line per link, breadth first from the start node, each node's links in attribute order:
//   <node> -> <node> (<key of the target node's screen>)
// Node ports and the output links of the objects on a node's screen both count. Nodes without a
// name are shown as <class>#<id>.
void printScreenGraph(std::FILE* out);

// Loads the game in `dir` and prints its graph; 0 on success, 2 when the load fails, 3 when the
// game has no start node.
int graphCommand(const std::string& dir);

} // namespace kxdata
