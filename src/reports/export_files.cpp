#include "reports/export_files.h"

#include <algorithm>
#include <cmath>

#include "text/text_fields.h"

namespace shiftlog {

bool IsDosNameCharacter(unsigned char character) {
  if ((character >= 'A' && character <= 'Z') || (character >= 'a' && character <= 'z') ||
      (character >= '0' && character <= '9'))
    return true;
  return std::string_view("!#$%&'()-@^_`{}~").find(static_cast<char>(character)) != std::string_view::npos;
}

std::string TransmitName(std::string_view storeId, std::string_view cardName) {
  std::string id(storeId);
  std::replace(id.begin(), id.end(), '\0', ' ');
  id = TrimBlanks(id);
  for (char& c : id) {
    if (c != ' ' && !IsDosNameCharacter(static_cast<unsigned char>(c))) c = '_';
  }
  return id + std::string(cardName.substr(0, 8));
}

int CentredColumn(int centre, int length) {
  // nearbyint rounds halves to even in the default rounding mode.
  const int column = centre - static_cast<int>(std::nearbyint(length / 2.0));
  return std::max(1, column);
}

std::string NotSavedReason(const Status& status) {
  return UpperCase(RunTimeErrorText(status.error));
}

}  // namespace shiftlog
