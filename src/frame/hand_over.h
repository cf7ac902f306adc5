// The hand-over with the cash-register program through TILCONFG.DAT in the store's folder:
// the cash-register program writes the configuration name there and starts the time clock;
// the time clock takes the file away while it runs and writes it back when it hands over.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "frame/program.h"

namespace shiftlog {

// The configuration name in the text of TILCONFG.DAT: its first item. A quoted item is the
// text between the quotes (commas included); an unquoted one runs to the first comma or line
// end, without its leading and trailing blanks. An empty file gives an empty name.
std::string FirstItemOf(std::string_view text);

// Reads the configuration name from TILCONFG.DAT and deletes the file. Nothing when there is
// no such file (the program was not started by the cash-register program). A file that cannot
// be deleted is left and the error flag set: the run goes on.
std::optional<std::string> TakeHandOver(Program& program);

// Hands control back to the cash-register program: writes TILCONFG.DAT (the configuration
// name in double quotes, CR LF) and starts the cash-register program in place of this one,
// restoring the terminal first. When it cannot be started the run-time error report says
// "File not found"; if the user goes on, this returns and the calling screen carries on (the
// report puts its screen back), so a later [ESC] tries again.
void ReturnToRegister(Program& program);

}  // namespace shiftlog
