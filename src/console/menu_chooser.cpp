#include "console/menu_chooser.h"

#include "console/wait_key.h"

namespace shiftlog {

namespace {

bool ItemEmpty(const std::vector<std::string>& items, int item) {
  return item < 1 || item > static_cast<int>(items.size()) || items[static_cast<size_t>(item - 1)].empty();
}

void DrawItems(Console& console, int baseRow, int column, int count, const std::vector<std::string>& items,
               int spacing, int choice) {
  Screen& screen = console.screen;
  screen.SetCursorVisible(false);
  for (int i = 1; i <= count; ++i) {
    if (i == choice) {
      console.SetColours(15, 3, 0, Console::kMonoFG);
    } else {
      console.SetColours(15, 1, Console::kMonoFG, 0);
    }
    screen.Locate(baseRow + i * spacing, column, false);
    const std::string item = ItemEmpty(items, i) ? std::string() : items[static_cast<size_t>(i - 1)];
    screen.PrintText(" " + item + " ");
  }
}

}  // namespace

void MenuChooser(Console& console, int baseRow, int column, int count, const std::vector<std::string>& items,
                 int spacing, int& choice, int& key) {
  DrawItems(console, baseRow, column, count, items, spacing, choice);
  key = 0;
  // Keys typed before the menu appeared must not choose anything.
  for (int i = 0; i < 16; ++i) {
    if (!console.terminal().ReadKey(0)) break;
  }
  for (;;) {
    key = 0;
    WaitKey(console, false, 1, 1, "");
    key = console.keyCode == kKeyF11 ? kKeyEscape : console.keyCode;
    if (key == kKeyEscape) {
      choice = kMenuCancelled;
      console.SetColours(15, 1, Console::kMonoFG, 0);
      return;
    }
    if (key == kKeyUp || key == kKeyDown) {
      const int step = key == kKeyUp ? -1 : 1;
      // At least one item is not empty, so this ends; a full turn guards a bad caller.
      for (int tries = 0; tries <= count; ++tries) {
        choice += step;
        if (choice < 1) choice = count;
        // Above the last item (27 after [ESC]) there are only gaps: [UP] comes down to the
        // last item, [DOWN] wraps to the first.
        if (choice > count) choice = step < 0 ? count : 1;
        if (!ItemEmpty(items, choice)) break;
      }
      DrawItems(console, baseRow, column, count, items, spacing, choice);
      continue;
    }
    if (key == kKeyTab || key == kKeyEnter || key == kKeyCtrlTab || (key >= kKeyF1 && key <= kKeyF10)) {
      console.SetColours(15, 1, Console::kMonoFG, 0);
      return;
    }
    if (key >= 1 && key <= count) {
      if (!ItemEmpty(items, key)) {
        choice = key;
        DrawItems(console, baseRow, column, count, items, spacing, choice);
      } else {
        console.Beep();
      }
    }
  }
}

}  // namespace shiftlog
