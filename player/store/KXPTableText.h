#pragma once

// The text form shared by the stored score, lock-state and checkpoint tables: items joined by ";",
// each a name, ":" and blank-separated values. Names are escaped so that a ";" or ":" inside a name
// cannot split it: those two and the escape character "%" are written as "%" and two hex digits;
// every other name is written exactly as it is.

#include <ios>
#include <string>
#include <vector>

namespace kx {

// The non-empty ";"-separated items of a table text.
std::vector<std::string> splitTableItems(const std::string& text);

struct TableItem {
    std::string name;   // unescaped; the whole item when it has no ":"
    std::string values; // from after the first ":" up to the next ":" or the end
};
TableItem splitTableItem(const std::string& item);

std::string escapeTableName(const std::string& name);
// "%" followed by anything but two hex digits stays as it is.
std::string unescapeTableName(const std::string& text);

// C-locale numbers with 8 significant digits in the stream's default notation.
void prepareTableStream(std::ios& stream);

} // namespace kx
