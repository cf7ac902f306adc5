// The records of a time card file yyyymmdd.CLK as bytes: record 1 is the header with the
// settings the file was made with, records 2 to 57 the 800-byte cards of slots 1 to 56.
#pragma once

#include <string>
#include <string_view>

#include "host/run_time_errors.h"
#include "store/time_card.h"

namespace shiftlog {

inline constexpr int kCardFileRecords = 57;

// Offsets within a card record.
inline constexpr int kNameOffset = 0;
inline constexpr int kNameLength = 24;
inline constexpr int kIdOffset = 24;
inline constexpr int kIdLength = 8;
inline constexpr int kPunchOffset = 32;
inline constexpr int kCorrectionOffset = 312;
inline constexpr int kTimeLength = 5;
inline constexpr int kCorrectorOffset = 592;
inline constexpr int kReasonOffset = 648;
inline constexpr int kReasonLength = 12;
inline constexpr int kUnusedOffset = 732;

// Offsets within the header record.
inline constexpr int kHeaderTimeDisplay = 0;
inline constexpr int kHeaderStoreId = 1;
inline constexpr int kHeaderStoreIdLength = 12;
inline constexpr int kHeaderWeekEnd = 13;

// Offset of the 5-character time field (day 0-6, slot 1-8) of a row that starts at rowOffset.
constexpr int TimeFieldOffset(int rowOffset, int day, int slot) {
  return rowOffset + kTimeLength * (day * 8 + (slot - 1));
}
constexpr int CorrectorOffset(int day, int slot) {
  return kCorrectorOffset + day * 8 + (slot - 1);
}

// text made a field of length bytes (cut or filled with blanks) at offset of record.
void PutField(std::string& record, int offset, std::string_view text, int length);

struct CardHeader {
  int timeDisplay = 0;
  std::string storeId = std::string(12, ' ');
  int weekEnd = 0;
};

// The header as read. A reader for display takes only the byte 1 as a Sunday week end;
// an update takes any non-zero byte (the program writes only 0 and 1, so the two agree).
enum class WeekEndRule { kOnlyOne, kAnyNonZero };
CardHeader DecodeHeader(std::string_view record, WeekEndRule rule);
std::string EncodeHeader(const CardHeader& header);

// A new card: blanks, the associate's name and ID#, and zero corrector bytes.
std::string NewCardRecord(std::string_view name, std::string_view id);

// The card of one record. A name, ID# or day reason holding a zero byte (a record the file
// does not have, or a damaged one) becomes empty or blank; the result tells whether the
// ID# did, which the screens answer with the warning beep.
struct DecodedCard {
  bool idHadZeroByte = false;
};
DecodedCard DecodeCard(std::string_view record, TimeCard& card, std::string& name, std::string& id);

// The record for a card. A corrector text whose value is not a byte (0-255) cannot be
// stored: Illegal function call, and nothing is encoded.
Status EncodeCard(const TimeCard& card, std::string_view name, std::string_view id, std::string& record);

// A card time field that holds no punch: blanks, or the zero bytes of a record the file
// does not have.
bool IsEmptyCardTime(std::string_view text);

}  // namespace shiftlog
