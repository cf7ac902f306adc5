#include "reports/transmit_cards.h"

#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "cardfiles/card_file_chooser.h"
#include "console/box_characters.h"
#include "console/boxes.h"
#include "console/menu_chooser.h"
#include "console/wait_key.h"
#include "host/dos_paths.h"
#include "host/whole_file.h"
#include "reports/export_files.h"
#include "reports/export_time_cards.h"
#include "store/weeks.h"

namespace shiftlog {

namespace {

constexpr int kCancelItem = 1;
constexpr int kTextItem = 2;

const std::vector<std::string> kItems = {"1. Cancel", "2. Create TEXT file.", "3. Create DATA file."};

constexpr const char* kHelp[] = {
    "   This feature will create a text or data file of your time cards",
    "that can then be sent over the internet by either email or FTP file",
    "transfer to any destination you wish.",
    "   The file will be placed in a \\SEND folder that will be a subfolder",
    "to the folder that holds your 'Cash Register' program files. If you",
    "also use the feature that transmits the 'Automatic Reports' all the",
    "files in the \\SEND folder will be transmitted when the register is",
    "closed. ALL non-blank cards will be the file.",
    "   Unlike the automatic reports you must come here to create a file",
    "of time cards to transmit every time you wish to transmit cards.",
    "   The file name used for the transmit file will consist of the store",
    "ID, followed by the date of the file, followed by either .TXT or .CSV",
    "depending on the file type. Therefore the file you picked will be",
    "saved in the /SEND folder as either...",
};

void DrawHelp(Console& console, const std::string& transmitName) {
  Screen& screen = console.screen;
  console.SetColours(15, 7, Console::kMonoFG, 0);
  screen.ClearScreen();
  if (console.Colour()) {
    ShadowPanel(console, 2, 2, 77, 22, 1);
    screen.SetForeground(15);
  }
  Box(console, 3, 2, 75, 22);
  int row = 3;
  for (const char* line : kHelp) PrintAt(screen, row++, 5, line);
  const int column = CentredColumn(31, static_cast<int>(transmitName.size()));
  PrintAt(screen, 17, column, "Text file --> " + transmitName + ".TXT");
  PrintAt(screen, 18, column, "Data file --> " + transmitName + ".CSV");
  const std::string separator =
      cp437::kDoubleTeeRight + std::string(73, cp437::kDoubleHorizontal) + cp437::kDoubleTeeLeft;
  PrintAt(screen, 19, 3, separator);
}

// Writes the week's non-blank cards into the SEND folder, whole or not at all: the file is
// made beside its final name and renamed into place, so the register never sends half a file
// and a failure leaves nothing behind. The line says what became of it.
std::string Transmit(Program& program, ExportKind kind, const std::string& transmitName) {
  const std::string fileName = transmitName + (kind == ExportKind::kText ? ".TXT" : ".CSV");
  const auto notSaved = [&fileName](const std::string& why) {
    return " SEND\\" + fileName + " NOT SAVED: " + why + " ";
  };
  std::string bytes;
  if (const Status exported = ExportTimeCards(program, true, kind, 0, bytes); !exported)
    return notSaved(NotSavedReason(exported));

  const std::string sendFolder = program.store.dataPath + "SEND";
  const std::optional<std::filesystem::path> folder = ResolveDosPath(program.host, sendFolder);
  if (!folder) return notSaved(NotSavedReason(Status::Failed(kDiskNotReady)));
  std::error_code ec;
  std::filesystem::create_directory(*folder, ec);
  if (!std::filesystem::is_directory(*folder, ec)) return notSaved("NO SEND FOLDER");
  const std::optional<std::filesystem::path> target =
      ResolveDosPath(program.host, sendFolder + "\\" + fileName);
  if (const Status written = target ? WriteWholeFile(*target, bytes) : Status::Failed(kBadFileName); !written)
    return notSaved(NotSavedReason(written));
  return " SAVED AS SEND\\" + fileName + " ";
}

}  // namespace

void TransmitCards(Program& program) {
  Console& console = program.console;
  Screen& screen = console.screen;
  FrameState& frame = program.frame;
  std::string chosen;
  ChooseCardFile(program, chosen, kTransmitCardFile);
  if (chosen.empty()) return;
  frame.cardNameInUse = chosen.substr(0, 8);
  frame.weekDates = ComputeCardWeek(frame.dateText, 6).dates;
  // One name for the preview and the files, whatever store ID the exported file's header holds.
  const std::string transmitName = TransmitName(program.store.associates.storeId, frame.cardNameInUse);
  DrawHelp(console, transmitName);

  for (;;) {
    int choice = kCancelItem;
    int key = 0;
    MenuChooser(console, 19, 30, static_cast<int>(kItems.size()), kItems, 1, choice, key);
    if (choice == kMenuCancelled || (key == kKeyEnter && choice == kCancelItem)) return;
    if (key != kKeyEnter) continue;
    const std::string message =
        Transmit(program, choice == kTextItem ? ExportKind::kText : ExportKind::kData, transmitName);
    console.SetColours(15, 4, 0, Console::kMonoFG);
    PrintAt(screen, 25, CentredColumn(40, static_cast<int>(message.size())), message.substr(0, kColumns));
    WaitKey(console, false, 0, 0, "");
    console.SetColours(15, 7, Console::kMonoFG, 0);
    PrintAt(screen, 25, 1, std::string(79, ' '));
  }
}

}  // namespace shiftlog
