#include "store/card_record.h"

#include <cmath>

#include "text/text_fields.h"

namespace shiftlog {

namespace {

constexpr size_t kRecordLength = 800;

bool HasZeroByte(std::string_view text) {
  return text.find('\0') != std::string_view::npos;
}

// The bytes of a field, as far as the record has them (a record given short reads as zero
// bytes past its end, like the file).
std::string Field(std::string_view record, int offset, int length) {
  std::string field(static_cast<size_t>(length), '\0');
  const size_t from = static_cast<size_t>(offset);
  if (from < record.size()) {
    const std::string_view present = record.substr(from, static_cast<size_t>(length));
    field.replace(0, present.size(), present);
  }
  return field;
}

unsigned char ByteAt(std::string_view record, int offset) {
  const size_t at = static_cast<size_t>(offset);
  return at < record.size() ? static_cast<unsigned char>(record[at]) : 0;
}

}  // namespace

void PutField(std::string& record, int offset, std::string_view text, int length) {
  record.replace(static_cast<size_t>(offset), static_cast<size_t>(length), TextField(text, length));
}

CardHeader DecodeHeader(std::string_view record, WeekEndRule rule) {
  CardHeader header;
  header.timeDisplay = ByteAt(record, kHeaderTimeDisplay) != 0 ? 1 : 0;
  header.storeId = Field(record, kHeaderStoreId, kHeaderStoreIdLength);
  // A store ID with a zero byte (a header the file does not have) would end up in the names of
  // transmitted files; it reads as blank, as in the register data file.
  if (HasZeroByte(header.storeId)) header.storeId.assign(kHeaderStoreIdLength, ' ');
  const unsigned char weekEnd = ByteAt(record, kHeaderWeekEnd);
  header.weekEnd = rule == WeekEndRule::kOnlyOne ? (weekEnd == 1 ? 1 : 0) : (weekEnd != 0 ? 1 : 0);
  return header;
}

std::string EncodeHeader(const CardHeader& header) {
  std::string record(kRecordLength, ' ');
  record[kHeaderTimeDisplay] = static_cast<char>(header.timeDisplay != 0 ? 1 : 0);
  PutField(record, kHeaderStoreId, header.storeId, kHeaderStoreIdLength);
  record[kHeaderWeekEnd] = static_cast<char>(header.weekEnd != 0 ? 1 : 0);
  return record;
}

std::string NewCardRecord(std::string_view name, std::string_view id) {
  std::string record(kRecordLength, ' ');
  PutField(record, kNameOffset, name, kNameLength);
  PutField(record, kIdOffset, id, kIdLength);
  record.replace(kCorrectorOffset, 56, 56, '\0');
  return record;
}

DecodedCard DecodeCard(std::string_view record, TimeCard& card, std::string& name, std::string& id) {
  DecodedCard result;
  name = Field(record, kNameOffset, kNameLength);
  if (HasZeroByte(name)) name.clear();
  id = Field(record, kIdOffset, kIdLength);
  if (HasZeroByte(id)) {
    id.clear();
    result.idHadZeroByte = true;
  }
  for (int day = 0; day < 7; ++day) {
    for (int slot = 1; slot <= 8; ++slot) {
      card.Text(kPunchRow, day, slot) = Field(record, TimeFieldOffset(kPunchOffset, day, slot), kTimeLength);
      card.Text(kCorrectionRow, day, slot) =
          Field(record, TimeFieldOffset(kCorrectionOffset, day, slot), kTimeLength);
      card.Text(kCorrectorRow, day, slot) = "  " + NumberText(ByteAt(record, CorrectorOffset(day, slot)));
    }
  }
  for (int day = 1; day <= 7; ++day) {
    std::string reason = Field(record, kReasonOffset + kReasonLength * (day - 1), kReasonLength);
    if (HasZeroByte(reason)) reason.assign(kReasonLength, ' ');
    card.reasons[day] = std::move(reason);
  }
  return result;
}

Status EncodeCard(const TimeCard& card, std::string_view name, std::string_view id, std::string& record) {
  std::string bytes(kRecordLength, ' ');
  PutField(bytes, kNameOffset, name, kNameLength);
  PutField(bytes, kIdOffset, id, kIdLength);
  for (int day = 0; day < 7; ++day) {
    for (int slot = 1; slot <= 8; ++slot) {
      PutField(bytes, TimeFieldOffset(kPunchOffset, day, slot), card.Text(kPunchRow, day, slot), kTimeLength);
      PutField(bytes, TimeFieldOffset(kCorrectionOffset, day, slot), card.Text(kCorrectionRow, day, slot),
               kTimeLength);
      // The corrector is kept as its number; rounded as the suite rounds (halves to even).
      const double corrector = std::nearbyint(NumericValue(card.Text(kCorrectorRow, day, slot)));
      if (!(corrector >= 0 && corrector <= 255)) return Status::Failed(kIllegalFunctionCall);
      bytes[static_cast<size_t>(CorrectorOffset(day, slot))] =
          static_cast<char>(static_cast<unsigned char>(corrector));
    }
  }
  for (int day = 1; day <= 7; ++day)
    PutField(bytes, kReasonOffset + kReasonLength * (day - 1), card.reasons[day], kReasonLength);
  record = std::move(bytes);
  return Status::Ok();
}

bool IsEmptyCardTime(std::string_view text) {
  return text.find_first_not_of(std::string_view(" \0", 2)) == std::string_view::npos;
}

}  // namespace shiftlog
