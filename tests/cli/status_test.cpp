#include <gtest/gtest.h>

#include <tuple>

#include "back_office_fixture.h"

namespace shiftlog {
namespace {

using StatusTest = testing::BackOfficeTest;

TEST_F(StatusTest, WhoIsInOnADayAndThePunchesOfTheWeekWithoutTheirPartner) {
  WriteRegister();
  // Wednesday (day 3): Mary came in at 08:00 and is still in; Joe worked 09:00-12:00; Anna went
  // out at 11:00 and came back, her return corrected from 11:30 to 11:45. Tuesday (day 2): Joe
  // forgot his OUT. Thursday (day 4): Mary's IN is missing, her OUT is not.
  const std::tuple<int, int, int, const char*> punches[] = {
      {3, 3, 1, "08:00"},  {5, 3, 1, "09:00"}, {5, 3, 2, "12:00"}, {12, 3, 1, "07:00"}, {12, 3, 2, "11:00"},
      {12, 3, 3, "11:30"}, {5, 2, 1, "08:30"}, {5, 2, 2, "12:30"}, {5, 2, 3, "13:15"},  {3, 4, 2, "17:00"}};
  for (const auto& [slot, day, punchSlot, time] : punches) Punch(slot, day, punchSlot, time);
  Correct(12, 3, 3, "11:45", 12, "FORGOT");

  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"status"},  // the correction counts before the punch
       "Clocked in on WEDNESDAY 2012-12-12:\n"
       "SLOT  NAME        ID#       IN SINCE\n"
       "   3  MARY SMITH  12345678  08:00\n"
       "  12  ANNA BAKER  A-12      11:45\n"},
      {{"status", "--format", "csv"},
       "slot,name,id,date,day,in\r\n"
       "3,MARY SMITH,12345678,2012-12-12,WEDNESDAY,08:00\r\n"
       "12,ANNA BAKER,A-12,2012-12-12,WEDNESDAY,11:45\r\n"},
      {{"status", "--date", "2012-12-09"}, "Nobody is clocked in on SUNDAY 2012-12-09.\n"},
      {{"status", "--week"},
       "Punches without their partner in the week ending SATURDAY 2012-12-15:\n"
       "SLOT  NAME        ID#       DAY        DATE        WITHOUT PARTNER\n"
       "   3  MARY SMITH  12345678  WEDNESDAY  2012-12-12  IN 08:00\n"
       "   3  MARY SMITH  12345678  THURSDAY   2012-12-13  OUT 17:00\n"
       "   5  JOE BROWN   55        TUESDAY    2012-12-11  IN 13:15\n"
       "  12  ANNA BAKER  A-12      WEDNESDAY  2012-12-12  IN 11:45\n"},
      {{"status", "--week", "--date", "2012-12-15", "--format", "csv"},
       "slot,name,id,date,day,punch,time,punch_slot\r\n"
       "3,MARY SMITH,12345678,2012-12-12,WEDNESDAY,IN,08:00,1\r\n"
       "3,MARY SMITH,12345678,2012-12-13,THURSDAY,OUT,17:00,2\r\n"
       "5,JOE BROWN,55,2012-12-11,TUESDAY,IN,13:15,3\r\n"
       "12,ANNA BAKER,A-12,2012-12-12,WEDNESDAY,IN,11:45,3\r\n"},
  };
  for (const auto& [arguments, text] : cases) {
    SCOPED_TRACE(::testing::PrintToString(arguments));
    EXPECT_EQ(Out(arguments), text);
  }

  const nlohmann::json today = Json({"status"});
  ASSERT_EQ(today["clockedIn"].size(), 2u);
  EXPECT_EQ(today["clockedIn"][1], nlohmann::json::parse(R"({"slot": 12, "name": "ANNA BAKER", "id": "A-12",
      "in": "11:45", "punchSlot": 3, "corrected": true})"));
  EXPECT_EQ(today["date"], "2012-12-12");
  // The day of a forgotten OUT: Joe still counts as in since his second IN.
  const nlohmann::json tuesday = Json({"status", "--date", "2012-12-11"});
  ASSERT_EQ(tuesday["clockedIn"].size(), 1u);
  EXPECT_EQ(tuesday["clockedIn"][0]["slot"], 5);
  EXPECT_EQ(tuesday["clockedIn"][0]["in"], "13:15");
  const nlohmann::json week = Json({"status", "--week"});
  ASSERT_EQ(week["unpaired"].size(), 4u);
  EXPECT_EQ(week["unpaired"][1]["punches"][0],
            nlohmann::json::parse(R"({"punchSlot": 2, "kind": "OUT", "time": "17:00", "corrected": false})"));
  EXPECT_EQ(week["weekEnding"], "2012-12-15");
}

TEST_F(StatusTest, TheWeekEndOfTheSharedRegisterFilePicksTheCardFile) {
  builder.SetWeekEnd(1);  // the week ends on Sunday: Wednesday 12-12 is in 20121216.CLK
  WriteRegister();
  Punch(3, 2, 1, "06:00", "20121216");
  const nlohmann::json json = Json({"status"});
  EXPECT_EQ(json["cardFile"], "20121216");
  EXPECT_EQ(json["day"], "WEDNESDAY");
  ASSERT_EQ(json["clockedIn"].size(), 1u);
  EXPECT_EQ(json["clockedIn"][0]["in"], "06:00");
}

}  // namespace
}  // namespace shiftlog
