#include "store/register_file_builder.h"

#include <stdexcept>

#include "host/whole_file.h"

namespace shiftlog {

namespace {

void CheckSlot(int slot) {
  if (slot < 1 || slot > 56) throw std::out_of_range("associate slot outside 1-56");
}

// Record and offset of a slot's name: three names a record, the second group 291 records on.
int NameRecord(int slot) {
  const int group = (slot - 1) / 28;
  const int k = (slot - 1) % 28;
  return 11 + 291 * group + k / 3;
}
int NameOffset(int slot) {
  return 24 * (((slot - 1) % 28) % 3);
}

}  // namespace

RecordImage::RecordImage(int recordLength, int recordCount)
    : recordLength_(recordLength),
      bytes_(static_cast<size_t>(recordLength) * static_cast<size_t>(recordCount), '\0') {}

size_t RecordImage::Offset(int record, int offset) {
  if (record < 1 || offset < 0 || offset >= recordLength_)
    throw std::out_of_range("no such record or offset");
  const size_t at =
      static_cast<size_t>(record - 1) * static_cast<size_t>(recordLength_) + static_cast<size_t>(offset);
  const size_t end = static_cast<size_t>(record) * static_cast<size_t>(recordLength_);
  if (bytes_.size() < end) bytes_.resize(end, '\0');
  return at;
}

void RecordImage::SetByte(int record, int offset, int value) {
  bytes_[Offset(record, offset)] = static_cast<char>(static_cast<unsigned char>(value));
}

void RecordImage::SetText(int record, int offset, std::string_view text, int width) {
  if (offset + width > recordLength_) throw std::out_of_range("text runs past the record");
  const size_t at = Offset(record, offset);
  for (int i = 0; i < width; ++i)
    bytes_[at + static_cast<size_t>(i)] = static_cast<size_t>(i) < text.size() ? text[i] : ' ';
}

void RecordImage::SetInt32(int record, int offset, std::int32_t value) {
  if (offset + 4 > recordLength_) throw std::out_of_range("number runs past the record");
  const size_t at = Offset(record, offset);
  const auto bits = static_cast<std::uint32_t>(value);
  for (int i = 0; i < 4; ++i)
    bytes_[at + static_cast<size_t>(i)] = static_cast<char>((bits >> (8 * i)) & 0xFF);
}

std::string RecordImage::Record(int record) const {
  const size_t at = static_cast<size_t>(record - 1) * static_cast<size_t>(recordLength_);
  std::string bytes =
      at < bytes_.size() ? bytes_.substr(at, static_cast<size_t>(recordLength_)) : std::string();
  bytes.resize(static_cast<size_t>(recordLength_), '\0');
  return bytes;
}

Status RecordImage::WriteTo(const std::filesystem::path& path) const {
  return WriteWholeFile(path, bytes_);
}

RegisterFileBuilder::RegisterFileBuilder() : image_(80, kRecordCount) {}

void RegisterFileBuilder::SetAssociate(int slot, std::string_view name, std::int32_t pin, std::string_view id,
                                       bool supervisor) {
  SetName(slot, name);
  SetPin(slot, pin);
  SetId(slot, id);
  SetSupervisor(slot, supervisor);
}

void RegisterFileBuilder::SetName(int slot, std::string_view name) {
  CheckSlot(slot);
  image_.SetText(NameRecord(slot), NameOffset(slot), name, 24);
}

void RegisterFileBuilder::SetPin(int slot, std::int32_t pin) {
  CheckSlot(slot);
  // PINs of slots 1-20 in record 280, 21-28 in 281, 29-48 in 313, 49-56 in 314.
  const int group = (slot - 1) / 28;
  const int k = (slot - 1) % 28;
  const int record = (group == 0 ? 280 : 313) + (k >= 20 ? 1 : 0);
  image_.SetInt32(record, 4 * (k % 20), pin);
}

void RegisterFileBuilder::SetId(int slot, std::string_view id) {
  CheckSlot(slot);
  image_.SetText(457 + (slot - 1) / 8, 8 * ((slot - 1) % 8), id, 8);
}

void RegisterFileBuilder::SetSupervisor(int slot, bool supervisor) {
  CheckSlot(slot);
  image_.SetByte(456, slot - 1, supervisor ? 1 : 0);
}

}  // namespace shiftlog
