// The card store as the screens use it: the program's store, and the warning beep for what a
// read noticed about the card.
#pragma once

#include <string>
#include <string_view>

#include "frame/program.h"
#include "store/time_card_file.h"

namespace shiftlog {

// ReadTimeCard of the store on the program's store context; sounds the warning beep when the
// card's ID# held a zero byte.
Status ReadTimeCard(Program& program, TimeCard& card, std::string& name, int slot, std::string_view fileName,
                    std::string& id);

}  // namespace shiftlog
