#include "cardfiles/card_file_chooser.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "console/boxes.h"
#include "console/wait_key.h"
#include "store/card_files.h"
#include "text/text_fields.h"

namespace shiftlog {

namespace {

constexpr int kListRows = 21;  // entries shown at once, rows 3 to 23
constexpr int kListColumn = 62;
constexpr int kNameWidth = 12;

using Explanation = std::array<std::string_view, 8>;

const Explanation& ExplanationOf(int mode) {
  static const Explanation kModify = {"            MODIFY TIME PUNCHES", "",
                                      "  Choose time files to edit. You may only",
                                      "choose from the last two time files."};
  static const Explanation kView = {"              VIEW TIME CARDS", "",
                                    "    Choose time files to view, print or",
                                    "save as text or data files. You may choose", "any time file."};
  static const Explanation kTransmit = {"             TRANSMIT CARDS", "",
                                        "  Choose time files to transmit. You may",
                                        "transmit any time card file."};
  static const Explanation kDelete = {"             DELETE TIME CARDS", "",
                                      "  Choose time files to delete. You may not",
                                      "delete the current time card file."};
  switch (mode) {
    case kModifyCardFile:
      return kModify;
    case kTransmitCardFile:
      return kTransmit;
    case kDeleteCardFile:
      return kDelete;
    default:
      return kView;
  }
}

// The list as the chooser keeps it: entries 1 to count, the highlighted entry and the top
// (the window shows entries top + 1 to top + 21).
class FileList {
 public:
  explicit FileList(std::vector<std::string> names) : names_(std::move(names)) {
    // The chooser serves recent weeks: past the maximum, the oldest files go unlisted.
    if (names_.size() > static_cast<size_t>(kMaxListedCardFiles)) {
      names_.erase(names_.begin(), names_.end() - kMaxListedCardFiles);
    }
    End();
  }

  int Count() const { return static_cast<int>(names_.size()); }
  int Highlighted() const { return highlighted_; }
  int Top() const { return top_; }
  // Entry i (from 1); outside 1 to count, the empty text.
  std::string Entry(int i) const {
    return i >= 1 && i <= Count() ? names_[static_cast<size_t>(i - 1)] : std::string();
  }

  void Up() {
    if (highlighted_ <= 1) return;
    --highlighted_;
    if (highlighted_ - 1 < top_) top_ = std::max(0, top_ - 1);
  }
  void Down() {
    if (highlighted_ >= Count()) return;
    ++highlighted_;
    if (top_ < highlighted_ - kListRows) top_ = std::min(Count(), top_ + 1);
  }
  void PageUp() {
    highlighted_ = std::max(std::min(1, Count()), highlighted_ - kListRows);
    top_ = std::max(0, top_ - kListRows);
  }
  void PageDown() {
    highlighted_ = std::min(Count(), highlighted_ + kListRows);
    top_ += kListRows;
    // A window that would start at or past the last entry shows the last entry alone. (At
    // exactly the count it would show only blank rows, the highlight out of sight.)
    if (top_ >= Count()) top_ = std::max(0, Count() - 1);
  }
  void Home() {
    highlighted_ = std::min(1, Count());
    top_ = 0;
  }
  void End() {
    highlighted_ = Count();
    top_ = std::max(0, Count() - kListRows);
  }
  // Takes the highlighted entry out; the highlight stays, on the entry that followed it.
  void RemoveHighlighted() {
    if (highlighted_ < 1 || highlighted_ > Count()) return;
    names_.erase(names_.begin() + (highlighted_ - 1));
    highlighted_ = std::min(highlighted_, Count());
  }

 private:
  std::vector<std::string> names_;
  int highlighted_ = 0;
  int top_ = 0;
};

// A window on the blue panel, then white text on both displays.
void ChooserWindow(Console& console, int column, int row, int width, int height) {
  Window(console, column, row, width, height, 1);
  console.screen.SetForeground(15);
}

void DrawScreen(Console& console, int mode) {
  Screen& screen = console.screen;
  console.SetColours(15, 7, Console::kMonoFG, 0);
  screen.ClearScreen();
  screen.SetCursorVisible(false);
  ChooserWindow(console, 6, 19, 48, 4);
  PrintAt(screen, 20, 10,
          mode == kDeleteCardFile ? "Highlight desired file and press [DELETE]"
                                  : "Highlight desired file and press [ENTER]");
  ChooserWindow(console, 6, 5, 48, 10);
  const Explanation& lines = ExplanationOf(mode);
  for (size_t i = 0; i < lines.size(); ++i) PrintAt(screen, 6 + static_cast<int>(i), 8, lines[i]);
  ChooserWindow(console, 61, 2, 14, 23);
  PrintAt(screen, 2, 62, "YYYYMMDD");
}

void DrawList(Console& console, const FileList& list) {
  Screen& screen = console.screen;
  for (int i = 1; i <= kListRows; ++i) {
    const int entry = list.Top() + i;
    if (entry == list.Highlighted()) {
      console.SetColours(15, 5, 0, 7);
    } else {
      console.SetColours(15, 1, 7, 0);
    }
    PrintAt(screen, i + 2, kListColumn, TextField(list.Entry(entry), kNameWidth));
  }
  console.SetColours(15, 1, 7, 0);
  PrintAt(screen, 21, 13,
          NumberText(list.Count()) + " Files stored. Maximum = " + std::to_string(kMaxListedCardFiles));
}

void ClearQuestion(Screen& screen) {
  for (int row = 11; row <= 13; ++row) PrintAt(screen, row, 15, std::string(33, ' '));
}

// [DELETE] in delete mode: asks for [F1], then deletes the highlighted file. The newest file
// and this week's file (wherever a wrong clock has put it in the list) are never deleted.
void AskAndDelete(Program& program, FileList& list) {
  Console& console = program.console;
  Screen& screen = console.screen;
  const int h = list.Highlighted();
  const std::string entry = list.Entry(h);
  if (h == list.Count() || entry.substr(0, 8) == program.frame.thisWeekCard) {
    console.Beep();
    return;
  }
  PrintAt(screen, 11, 15, "PRESS [F1] TO CONFIRM DELETION OF ");
  PrintAt(screen, 12, 26, entry);
  PrintAt(screen, 13, 16, "PRESS [ESC] TO CANCEL DELETION");
  for (;;) {
    WaitKey(console, false, 0, 0, "");
    if (console.keyCode == kKeyF1 || console.keyCode == kKeyEscape) break;
  }
  if (console.keyCode == kKeyEscape) {
    ClearQuestion(screen);
    return;
  }
  // A file that is already gone or cannot be removed is not reported: it leaves the list all
  // the same, and shows again next time if it is still there.
  DeleteCardFile(program.store, entry.substr(0, 8));
  list.RemoveHighlighted();
  DrawList(console, list);
  ClearQuestion(screen);
}

}  // namespace

void ChooseCardFile(Program& program, std::string& chosenName, int mode) {
  Console& console = program.console;
  DrawScreen(console, mode);
  FileList list(ListCardFiles(program.store));
  DrawList(console, list);

  for (;;) {
    WaitKey(console, false, 0, 0, "");
    switch (console.keyCode) {
      case kKeyDelete:
        if (mode == kDeleteCardFile) AskAndDelete(program, list);
        break;
      case kKeyEscape:
        chosenName.clear();
        program.frame.dateText.clear();
        return;
      case kKeyEnter: {
        if (mode == kDeleteCardFile) break;
        const int h = list.Highlighted();
        if (mode == kModifyCardFile && h != list.Count() && h != list.Count() - 1) {
          console.Beep();  // only the last two weeks may still be corrected
          break;
        }
        chosenName = list.Entry(h);
        program.frame.dateText = CardNameDateText(chosenName);
        return;
      }
      case kKeyUp:
        list.Up();
        DrawList(console, list);
        break;
      case kKeyDown:
        list.Down();
        DrawList(console, list);
        break;
      case kKeyPageUp:
        list.PageUp();
        DrawList(console, list);
        break;
      case kKeyPageDown:
        list.PageDown();
        DrawList(console, list);
        break;
      case kKeyHome:
        list.Home();
        DrawList(console, list);
        break;
      case kKeyEnd:
        list.End();
        DrawList(console, list);
        break;
      default:
        break;
    }
  }
}

}  // namespace shiftlog
