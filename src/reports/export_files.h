// The names of the files the export dialog saves and the transmit leaves in the SEND folder,
// and the one-line messages that tell the user what became of them.
#pragma once

#include <string>
#include <string_view>

#include "host/run_time_errors.h"

namespace shiftlog {

// Whether a byte may stand in the name part of a DOS file name: letters, digits and
// ! # $ % & ' ( ) - @ ^ _ ` { } ~. A blank, a dot, a path separator, a drive colon, a wildcard
// and every control or non-ASCII byte may not, so a name never leaves its folder.
bool IsDosNameCharacter(unsigned char character);

// The name of a transmit file without its extension: the store ID without leading and
// trailing blanks (zero bytes count as blanks), each byte in it a DOS name may not hold made
// "_" (the blanks inside stay), followed by the card file's eight-digit name.
std::string TransmitName(std::string_view storeId, std::string_view cardName);

// The column a text of this length starts in when it is centred on column centre: centre less
// half the length, rounded to the nearest column, halves to even. Never left of column 1.
int CentredColumn(int centre, int length);

// A few words on why a file was not saved, for the line that says so.
std::string NotSavedReason(const Status& status);

}  // namespace shiftlog
