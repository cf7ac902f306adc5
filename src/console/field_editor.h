// The field editor through which the supervisor screens take text: a fixed-length text edited
// in place on the screen, in insert or overwrite mode, that hands control back whenever a key
// asks to leave the field. The caller decides what that key means and calls again to go on.
//
// Calling sequence for one field:
//   1. set field parameters 4, 5, 6, 7, 11 and 12;
//   2. EditField with mode "JU" (or "J", "I") to load a key table;
//   3. EditField with an empty mode, as often as needed: look at the exit code and at
//      parameters 8 and 9 after each return; the field resumes where it was left;
//   4. EditField with mode "END" (same column and row) to close it.
#pragma once

#include <string>

#include "console/console.h"
#include "console/field_parameters.h"

namespace shiftlog {

// The exit code of an extended key: its scan code + 255 ([F1] 314, [UP] 327).
constexpr int FieldExitCode(int scanCode) {
  return scanCode + 255;
}

// mode: "J", "I", "JU" load that key table; "END" closes the field, redrawing it in the colours
//   that were under it; anything else edits. After editing it holds the key text of the key
//   that ended the edit (letters in capitals).
// exitCode: the code of the key that ended the edit: an ordinary key's character code, an
//   extended key's FieldExitCode, [F11] 27.
// text: edited in place; padded with blanks to the maximum length when the field opens.
// accepts: when given, a typed character it refuses sounds the warning beep and is not taken
//   (a file name that must stay in its folder).
using AcceptedCharacter = bool (*)(unsigned char character);
void EditField(Console& console, std::string& mode, int& exitCode, int column, int row, int displayMode,
               std::string& text, FieldParameters& parameters, AcceptedCharacter accepts = nullptr);

}  // namespace shiftlog
