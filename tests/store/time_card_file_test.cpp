#include "store/time_card_file.h"

#include <gtest/gtest.h>

#include <random>

#include "frame/card_access.h"
#include "store/card_record.h"
#include "store/weeks.h"
#include "store_fixture.h"

namespace shiftlog {
namespace {

using testing::StoreFixture;
namespace fs = std::filesystem;

TEST(CardRecord, EveryFieldSitsAtItsOffset) {
  TimeCard card;
  card.Text(kPunchRow, 0, 1) = "08:01";
  card.Text(kPunchRow, 6, 8) = "23:59";
  card.Text(kCorrectionRow, 0, 1) = "07:02";
  card.Text(kCorrectionRow, 6, 8) = "22:58";
  card.Text(kCorrectorRow, 0, 1) = " 12";
  card.Text(kCorrectorRow, 6, 8) = "  56";
  card.Text(kCorrectorRow, 2, 3) = "     ";
  card.reasons[1] = "SICK";
  card.reasons[7] = "HOLIDAY PAY!";
  std::string record;
  ASSERT_TRUE(EncodeCard(card, "MARY SMITH", "12345678", record));
  ASSERT_EQ(record.size(), 800u);
  EXPECT_EQ(record.substr(0, 24), "MARY SMITH              ");
  EXPECT_EQ(record.substr(24, 8), "12345678");
  EXPECT_EQ(record.substr(32, 5), "08:01");
  EXPECT_EQ(record.substr(32 + 5 * 55, 5), "23:59");
  EXPECT_EQ(record.substr(312, 5), "07:02");
  EXPECT_EQ(record.substr(312 + 5 * 55, 5), "22:58");
  EXPECT_EQ(record[592], 12);
  EXPECT_EQ(record[592 + 55], 56);
  EXPECT_EQ(record[592 + 2 * 8 + 2], 0);  // five blanks store 0
  EXPECT_EQ(record.substr(648, 12), "SICK        ");
  EXPECT_EQ(record.substr(648 + 72, 12), "HOLIDAY PAY!");
  EXPECT_EQ(record.substr(732), std::string(68, ' '));

  TimeCard back;
  std::string name, id;
  EXPECT_FALSE(DecodeCard(record, back, name, id).idHadZeroByte);
  EXPECT_EQ(name, "MARY SMITH              ");
  EXPECT_EQ(id, "12345678");
  EXPECT_EQ(back.Text(kPunchRow, 6, 8), "23:59");
  EXPECT_EQ(back.Text(kCorrectionRow, 0, 1), "07:02");
  EXPECT_EQ(back.Text(kCorrectorRow, 0, 1), "   12");
  EXPECT_EQ(back.Text(kCorrectorRow, 2, 3), "   0");
  EXPECT_EQ(back.reasons[7], "HOLIDAY PAY!");
}

TEST(CardRecord, LongTextsAreCutAndCorrectorsMustBeBytes) {
  TimeCard card;
  card.Text(kPunchRow, 0, 1) = "08:00:00";
  std::string record;
  ASSERT_TRUE(EncodeCard(card, std::string(30, 'N'), "1234567890", record));
  EXPECT_EQ(record.substr(0, 24), std::string(24, 'N'));
  EXPECT_EQ(record.substr(24, 8), "12345678");
  EXPECT_EQ(record.substr(32, 5), "08:00");
  card.Text(kCorrectorRow, 3, 4) = " 256";
  EXPECT_EQ(EncodeCard(card, "", "", record).error, kIllegalFunctionCall);
  card.Text(kCorrectorRow, 3, 4) = "-1";
  EXPECT_EQ(EncodeCard(card, "", "", record).error, kIllegalFunctionCall);
}

TEST(CardRecord, HeaderFlagsReadAnyNonZeroByteAsOne) {
  std::string header(800, ' ');
  header[0] = 2;
  header.replace(1, 12, "STORE 7     ");
  for (int byte : {0, 2, 32}) {
    header[13] = static_cast<char>(byte);
    const CardHeader read = DecodeHeader(header, WeekEndRule::kOnlyOne);
    EXPECT_EQ(read.timeDisplay, 1);
    EXPECT_EQ(read.weekEnd, 0) << byte;  // a reader takes only 1 as Sunday
    EXPECT_EQ(read.storeId, "STORE 7     ");
    EXPECT_EQ(DecodeHeader(header, WeekEndRule::kAnyNonZero).weekEnd, byte != 0 ? 1 : 0);
  }
  header[13] = 1;
  EXPECT_EQ(DecodeHeader(header, WeekEndRule::kOnlyOne).weekEnd, 1);
  header[5] = '\0';
  EXPECT_EQ(DecodeHeader(header, WeekEndRule::kOnlyOne).storeId, std::string(12, ' '));
}

TEST(CardFile, FirstReadOfTheWeekCreatesTheWholeFile) {
  StoreFixture s;
  s.program.store.associates.timeDisplay = 1;
  s.program.store.associates.weekEnd = 1;
  TimeCard card;
  std::string name, id;
  ASSERT_TRUE(ReadTimeCard(s.program.store, card, name, 3, "20121215", id));
  const std::string bytes = StoreFixture::ReadFileBytes(s.CardPath());
  ASSERT_EQ(bytes.size(), 45600u);
  std::string header(800, ' ');
  header[0] = 1;
  header.replace(1, 12, "STORE 0042  ");
  header[13] = 1;
  EXPECT_EQ(bytes.substr(0, 800), header);
  for (int slot = 1; slot <= 56; ++slot) {
    const std::string record = bytes.substr(static_cast<size_t>(slot) * 800, 800);
    EXPECT_EQ(record.substr(0, 32),
              s.program.store.associates.names[slot] + s.program.store.associates.ids[slot]);
    EXPECT_EQ(record.substr(32, 560), std::string(560, ' '));
    EXPECT_EQ(record.substr(592, 56), std::string(56, '\0'));
    EXPECT_EQ(record.substr(648), std::string(152, ' '));
  }
  EXPECT_EQ(name, s.program.store.associates.names[3]);
  EXPECT_EQ(id, s.program.store.associates.ids[3]);
  EXPECT_EQ(card.Text(kPunchRow, 0, 1), "     ");
  EXPECT_EQ(card.Text(kCorrectorRow, 6, 8), "   0");
  EXPECT_EQ(card.reasons[1], std::string(12, ' '));
  EXPECT_TRUE(s.StrayFiles().empty());
  EXPECT_EQ(s.program.store.dataPath, "C:\\DATA\\");  // restored
  EXPECT_EQ(s.terminal.Beeps(), 0);
}

TEST(CardFile, AnExistingFileIsNeverRecreatedAndAShortOneReadsAsZeroBytes) {
  StoreFixture s;
  fs::create_directories(s.CardFolder());
  std::string header(800, ' ');
  header[0] = 0;
  header.replace(1, 12, "OLD STORE   ");
  header[13] = 2;
  // Cut in the middle of slot 2's card: slot 1 whole, slot 2 half there, slot 3 missing.
  std::string first = NewCardRecord("FIRST", "ID-ONE");
  first.replace(32, 5, "09:15");
  const std::string cut = header + first + NewCardRecord("SECOND", "ID-TWO").substr(0, 20);
  StoreFixture::WriteFileBytes(s.CardPath(), cut);
  s.program.store.associates.timeDisplay = 1;
  s.program.store.associates.weekEnd = 1;

  TimeCard card;
  std::string name, id;
  CardReadNotes notes;
  ASSERT_TRUE(ReadTimeCard(s.program.store, card, name, 1, "20121215", id, &notes));
  EXPECT_EQ(card.Text(kPunchRow, 0, 1), "09:15");
  EXPECT_EQ(s.program.store.associates.timeDisplay, 0);  // the file's header settings replace ours
  EXPECT_EQ(s.program.store.associates.storeId, "OLD STORE   ");
  EXPECT_EQ(s.program.store.associates.weekEnd, 0);  // byte 2 is not a Sunday week end for a reader
  EXPECT_FALSE(notes.idHadZeroByte);

  ASSERT_TRUE(ReadTimeCard(s.program.store, card, name, 2, "20121215", id, &notes));
  EXPECT_EQ(name, "");  // the name's last four bytes are missing
  EXPECT_EQ(id, "");
  EXPECT_TRUE(notes.idHadZeroByte);
  // The screens' read sounds the warning beep for it.
  ASSERT_TRUE(ReadTimeCard(s.program, card, name, 3, "20121215", id));
  EXPECT_EQ(card.Text(kPunchRow, 2, 5), std::string(5, '\0'));
  EXPECT_EQ(card.Text(kCorrectorRow, 2, 5), "   0");
  EXPECT_EQ(card.reasons[4], std::string(12, ' '));
  EXPECT_EQ(s.terminal.Beeps(), 1);
  EXPECT_EQ(StoreFixture::ReadFileBytes(s.CardPath()), cut);

  // An update of the short file keeps the week end of any non-zero byte.
  ASSERT_TRUE(WriteTimeCard(s.program.store, card, "THIRD", 3, "20121215", "ID3"));
  EXPECT_EQ(s.program.store.associates.weekEnd, 1);
  EXPECT_EQ(s.Record("20121215", 4).substr(0, 32), StoreFixture::Pad("THIRD", 24) + "ID3     ");
}

TEST(CardFile, WritingSlot56WritesRecord57Alone) {
  StoreFixture s;
  TimeCard card;
  std::string name, id;
  ASSERT_TRUE(ReadTimeCard(s.program.store, card, name, 56, "20121215", id));
  const std::string before = StoreFixture::ReadFileBytes(s.CardPath());
  card.Text(kPunchRow, 4, 3) = "10:10";
  card.Text(kCorrectionRow, 4, 3) = "10:05";
  card.Text(kCorrectorRow, 4, 3) = " 7";
  card.reasons[5] = "LATE BUS";
  ASSERT_TRUE(WriteTimeCard(s.program.store, card, name, 56, "20121215", id));
  const std::string after = StoreFixture::ReadFileBytes(s.CardPath());
  ASSERT_EQ(after.size(), 45600u);
  EXPECT_EQ(after.substr(0, 56 * 800), before.substr(0, 56 * 800));
  const std::string record = after.substr(56 * 800);
  EXPECT_EQ(record.substr(32 + 5 * (4 * 8 + 2), 5), "10:10");
  EXPECT_EQ(record.substr(312 + 5 * (4 * 8 + 2), 5), "10:05");
  EXPECT_EQ(record[592 + 4 * 8 + 2], 7);
  EXPECT_EQ(record.substr(648 + 48, 12), "LATE BUS    ");

  TimeCard again;
  ASSERT_TRUE(ReadTimeCard(s.program.store, again, name, 56, "20121215", id));
  EXPECT_EQ(again.texts[kPunchRow], card.texts[kPunchRow]);
  EXPECT_EQ(again.texts[kCorrectionRow], card.texts[kCorrectionRow]);
  EXPECT_EQ(again.Text(kCorrectorRow, 4, 3), "   7");
  EXPECT_EQ(again.reasons[5], "LATE BUS    ");
  EXPECT_TRUE(s.StrayFiles().empty());
}

TEST(CardFile, SlotsAndNamesOutsideTheFileAreRefused) {
  StoreFixture s;
  TimeCard card;
  std::string name, id;
  EXPECT_EQ(ReadTimeCard(s.program.store, card, name, 0, "20121215", id).error, kBadRecordNumber);
  EXPECT_EQ(ReadTimeCard(s.program.store, card, name, 57, "20121215", id).error, kBadRecordNumber);
  EXPECT_EQ(WriteTimeCard(s.program.store, card, name, 57, "20121215", id).error, kBadRecordNumber);
  EXPECT_EQ(ReadTimeCard(s.program.store, card, name, 1, "..\\..\\X", id).error, kBadFileName);
  EXPECT_EQ(ReadTimeCard(s.program.store, card, name, 1, "", id).error, kBadFileName);
  EXPECT_FALSE(fs::exists(s.CardFolder() / "20121215.CLK"));
}

TEST(CardFile, PunchKeepsWhatAnotherStationStoredSinceTheRead) {
  StoreFixture s;
  TimeCard mine;
  std::string name, id;
  ASSERT_TRUE(ReadTimeCard(s.program.store, mine, name, 5, "20121215", id));
  // Another station punches day 2 slot 1 and a supervisor corrects day 0 meanwhile.
  TimeCard theirs = mine;
  theirs.Text(kPunchRow, 2, 1) = "07:58";
  theirs.Text(kCorrectionRow, 0, 1) = "08:00";
  theirs.Text(kCorrectorRow, 0, 1) = " 9";
  ASSERT_TRUE(WriteTimeCard(s.program.store, theirs, name, 5, "20121215", id));

  ASSERT_TRUE(PunchTimeCard(s.program.store, mine, name, 5, "20121215", id, 2, 2, "16:30"));
  EXPECT_EQ(mine.Text(kPunchRow, 2, 1), "07:58");
  EXPECT_EQ(mine.Text(kPunchRow, 2, 2), "16:30");
  EXPECT_EQ(mine.Text(kCorrectionRow, 0, 1), "08:00");
  EXPECT_EQ(mine.Text(kCorrectorRow, 0, 1), "   9");
  // A slot that was filled meanwhile is not written over.
  ASSERT_TRUE(PunchTimeCard(s.program.store, mine, name, 5, "20121215", id, 2, 1, "08:10"));
  EXPECT_EQ(mine.Text(kPunchRow, 2, 1), "07:58");
  const std::string record = s.Record("20121215", 6);
  EXPECT_EQ(record.substr(32 + 5 * 16, 10), "07:5816:30");
  EXPECT_TRUE(s.StrayFiles().empty());
  EXPECT_EQ(PunchTimeCard(s.program.store, mine, name, 5, "20121215", id, 7, 1, "08:10").error,
            kSubscriptOutOfRange);
}

TEST(CardFile, EmptyDataPathTakesNoLockForTheRegisterButCardFilesHaveTheirFolder) {
  StoreFixture s(false);
  TimeCard card;
  std::string name, id;
  ASSERT_TRUE(ReadTimeCard(s.program.store, card, name, 1, "20121215", id));
  card.Text(kPunchRow, 0, 1) = "08:00";
  ASSERT_TRUE(WriteTimeCard(s.program.store, card, name, 1, "20121215", id));
  EXPECT_TRUE(fs::exists(s.host.store / "SHOP1" / "20121215.CLK"));
  EXPECT_EQ(s.program.store.dataPath, "");
}

// Whatever bytes a card file holds, reading and updating it neither crashes nor reads
// outside its records.
TEST(CardFile, DamagedFilesNeverCrashAReaderOrWriter) {
  StoreFixture s;
  fs::create_directories(s.CardFolder());
  std::mt19937 random(20121215);
  for (int round = 0; round < 200; ++round) {
    const size_t length = random() % (45600 + 900);
    std::string bytes(length, '\0');
    for (char& b : bytes) b = static_cast<char>(random() % 256);
    if (round % 3 == 0) bytes = NewCardRecord("X", "Y").substr(0, length % 800);
    StoreFixture::WriteFileBytes(s.CardPath(), bytes);
    const int slot = 1 + static_cast<int>(random() % 56);
    TimeCard card;
    std::string name, id;
    ASSERT_TRUE(ReadTimeCard(s.program.store, card, name, slot, "20121215", id)) << round;
    EXPECT_TRUE(name.empty() || name.size() == 24);
    EXPECT_TRUE(id.empty() || id.size() == 8);
    EXPECT_TRUE(s.program.store.associates.timeDisplay == 0 || s.program.store.associates.timeDisplay == 1);
    EXPECT_EQ(s.program.store.associates.storeId.size(), 12u);
    (void)WorkedTimeTotals(card, 1, true);
    ASSERT_TRUE(PunchTimeCard(s.program.store, card, name, slot, "20121215", id, 3, 4, "12:00")) << round;
    ASSERT_TRUE(WriteTimeCard(s.program.store, card, name, slot, "20121215", id)) << round;
  }
  EXPECT_TRUE(s.StrayFiles().empty());
}

}  // namespace
}  // namespace shiftlog
