// Numbered menus: a highlight bar over a list of items, moved with the arrows or the digit
// keys and confirmed with [ENTER], [TAB], [CTRL]+[TAB] or a function key.
#pragma once

#include <string>
#include <vector>

#include "console/console.h"

namespace shiftlog {

inline constexpr int kMenuCancelled = 27;

// Shows items[0..count-1] (item i at row baseRow + i * spacing, column) and lets the user
// choose. choice: the item highlighted first, on return the item chosen, or 27 for [ESC] /
// [F11]. key: the key code that ended the choice. Empty items are gaps the bar skips.
void MenuChooser(Console& console, int baseRow, int column, int count, const std::vector<std::string>& items,
                 int spacing, int& choice, int& key);

}  // namespace shiftlog
