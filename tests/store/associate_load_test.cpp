#include <gtest/gtest.h>

#include <string>

#include "store/associate_records.h"
#include "store/register_file_builder.h"
#include "support/test_program.h"

namespace shiftlog {
namespace {

using testing::TestProgram;

std::string TextOf(const std::string& text) {
  return text + std::string(24 - text.size(), ' ');
}

class AssociateLoadTest : public ::testing::Test {
 protected:
  // Loads the associate list from image, written as the register data file.
  const AssociateList& Load(const RecordImage& image) {
    const auto path = t.host.store / "SHOP1.TIL";
    EXPECT_TRUE(image.WriteTo(path));
    RecordFile file;
    EXPECT_TRUE(file.Open(path, 80, false));
    EXPECT_TRUE(LoadAssociateList(t.program.store, file));
    return t.program.store.associates;
  }
  TestProgram t;
};

// The layout written straight into the records, so the builder's own layout is not what is
// being checked here.
TEST_F(AssociateLoadTest, NamesPinsAndIdsComeFromTheirRecordsForBothGroups) {
  RecordImage image(80, 463);
  image.SetText(11, 0, "SLOT ONE", 24);
  image.SetText(19, 48, "SLOT TWENTY-SEVEN", 24);
  image.SetText(20, 0, "SLOT TWENTY-EIGHT", 24);
  image.SetText(20, 24, "NOT A SLOT", 24);  // record 20 gives only its first name
  image.SetText(302, 0, "SLOT TWENTY-NINE", 24);
  image.SetText(311, 0, "SLOT FIFTY-SIX", 24);
  image.SetInt32(280, 0, 1001);
  image.SetInt32(280, 76, 1020);
  image.SetInt32(281, 0, 1021);
  image.SetInt32(281, 28, 1028);
  image.SetInt32(281, 32, 999);  // read with the PINs but of no use
  image.SetInt32(313, 0, 1029);
  image.SetInt32(313, 76, 1048);
  image.SetInt32(314, 0, 1049);
  image.SetInt32(314, 28, 1056);
  image.SetText(457, 0, "ID1", 8);
  image.SetText(457, 56, "ID8", 8);
  image.SetText(463, 56, "ID56", 8);
  const AssociateList& list = Load(image);

  EXPECT_EQ(list.names[1], TextOf("SLOT ONE"));
  EXPECT_EQ(list.names[27], TextOf("SLOT TWENTY-SEVEN"));
  EXPECT_EQ(list.names[28], TextOf("SLOT TWENTY-EIGHT"));
  EXPECT_EQ(list.names[29], TextOf("SLOT TWENTY-NINE"));
  EXPECT_EQ(list.names[56], TextOf("SLOT FIFTY-SIX"));
  EXPECT_EQ(list.pins[1], 1001);
  EXPECT_EQ(list.pins[20], 1020);
  EXPECT_EQ(list.pins[21], 1021);
  EXPECT_EQ(list.pins[28], 1028);
  EXPECT_EQ(list.pins[29], 1029);
  EXPECT_EQ(list.pins[48], 1048);
  EXPECT_EQ(list.pins[49], 1049);
  EXPECT_EQ(list.pins[56], 1056);
  EXPECT_EQ(list.ids[1], "ID1     ");
  EXPECT_EQ(list.ids[8], "ID8     ");
  EXPECT_EQ(list.ids[56], "ID56    ");
}

TEST_F(AssociateLoadTest, PinsAboveAHundredMillionMeanNoPin) {
  RecordImage image(80, 463);
  image.SetInt32(280, 0, 100000000);
  image.SetInt32(280, 4, 100000001);
  image.SetInt32(280, 8, -1);  // all bits set: a negative PIN is left as stored
  image.SetInt32(313, 0, 2147483647);
  const AssociateList& list = Load(image);
  EXPECT_EQ(list.pins[1], 100000000);
  EXPECT_EQ(list.pins[2], 0);
  EXPECT_EQ(list.pins[3], -1);
  EXPECT_EQ(list.pins[29], 0);
}

TEST_F(AssociateLoadTest, AnyNonZeroFlagByteCountsAsOne) {
  RecordImage image(80, 463);
  image.SetByte(456, 3, 2);  // slot 4
  image.SetByte(456, 55, 255);
  image.SetByte(456, 56, 7);
  image.SetByte(456, 69, 2);
  image.SetByte(456, 70, 9);
  const AssociateList& list = Load(image);
  EXPECT_EQ(list.supervisor[4], 1);
  EXPECT_EQ(list.supervisor[56], 1);
  EXPECT_EQ(list.supervisor[5], 0);
  EXPECT_EQ(list.noSupervisor, 0);
  EXPECT_EQ(list.timeDisplay, 1);
  EXPECT_EQ(list.requireSupervisor, 1);
  EXPECT_EQ(list.weekEnd, 1);
}

TEST_F(AssociateLoadTest, AFreshFileGivesNoSupervisorsAndBlankIdsAndStoreId) {
  t.program.store.associates.storeId = "LEFT OVER   ";
  t.program.store.associates.supervisor[3] = 1;
  t.program.store.associates.noSupervisor = 0;
  const AssociateList& list = Load(RecordImage(80, 463));
  for (int slot = 1; slot <= kSlotCount; ++slot) {
    EXPECT_EQ(list.supervisor[slot], 0);
    EXPECT_EQ(list.ids[slot], "        ");
    EXPECT_EQ(list.pins[slot], 0);
  }
  EXPECT_EQ(list.noSupervisor, 1);
  EXPECT_EQ(list.storeId, "            ");
  EXPECT_EQ(list.timeDisplay, 0);
  EXPECT_EQ(list.weekEnd, 0);
  EXPECT_EQ(list.requireSupervisor, 0);
}

TEST_F(AssociateLoadTest, ZeroBytesInAnIdBecomeBlanksAndInTheStoreIdBlankItAll) {
  RecordImage image(80, 463);
  image.SetText(456, 57, "STORE 0042", 12);
  image.SetByte(456, 67, 0);
  image.SetText(458, 8, "AB", 8);
  image.SetByte(458, 8 + 5, 0);
  image.SetByte(458, 8 + 6, 'Z');
  const AssociateList& list = Load(image);
  EXPECT_EQ(list.storeId, "            ");
  EXPECT_EQ(list.ids[10].size(), 8u);
  EXPECT_EQ(list.ids[10], "AB    Z ");

  RecordImage whole(80, 463);
  whole.SetText(456, 57, "STORE 0042", 12);
  EXPECT_EQ(Load(whole).storeId, "STORE 0042  ");
}

TEST(RegisterFileBuilder, PutsEachAssociateWhereTheCashRegisterKeepsIt) {
  RegisterFileBuilder builder;
  builder.SetAssociate(21, "TWENTY-ONE", 0x01020304, "ID21", true);
  builder.SetAssociate(29, "TWENTY-NINE", 29, "ID29");
  builder.SetAssociate(56, "FIFTY-SIX", 56, "ID56", true);
  builder.SetStoreId("STORE 7");
  const RecordImage& image = builder.Image();
  EXPECT_EQ(builder.Bytes().size(), 463u * 80u);
  EXPECT_EQ(image.Record(17).substr(48, 24), TextOf("TWENTY-ONE"));  // record 11 + 6, third name
  EXPECT_EQ(image.Record(281).substr(0, 4), std::string("\x04\x03\x02\x01", 4));
  EXPECT_EQ(image.Record(302).substr(0, 24), TextOf("TWENTY-NINE"));
  EXPECT_EQ(image.Record(313).substr(0, 4), std::string("\x1d\0\0\0", 4));
  EXPECT_EQ(image.Record(311).substr(0, 24), TextOf("FIFTY-SIX"));
  EXPECT_EQ(image.Record(314).substr(28, 4), std::string("\x38\0\0\0", 4));
  EXPECT_EQ(image.Record(459).substr(32, 8), "ID21    ");
  EXPECT_EQ(image.Record(463).substr(56, 8), "ID56    ");
  EXPECT_EQ(image.Record(456)[20], 1);
  EXPECT_EQ(image.Record(456)[55], 1);
  EXPECT_EQ(image.Record(456)[28], 0);
  EXPECT_EQ(image.Record(456).substr(57, 12), "STORE 7     ");
  EXPECT_THROW(builder.SetName(57, "X"), std::out_of_range);
}

}  // namespace
}  // namespace shiftlog
