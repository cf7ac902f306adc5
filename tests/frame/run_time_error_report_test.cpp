#include "frame/run_time_error_report.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <new>
#include <stdexcept>
#include <system_error>

#include "frame/program_end.h"
#include "support/test_program.h"

namespace shiftlog {
namespace {

using testing::TestProgram;

TEST(RunTimeErrorReport, WhenTheProgramCannotGoOnAnyKeyEndsIt) {
  TestProgram t;
  t.terminal.Type("y");
  EXPECT_THROW(RunTimeErrorReport(t.program, kDiskFull, false), ProgramEnd);
  EXPECT_NE(t.terminal.Dump().find("Run-time error 61:  Disk full"), std::string::npos) << t.terminal.Dump();
  EXPECT_NE(t.terminal.Dump().find("The program ends."), std::string::npos);
}

TEST(RunTimeErrorReport, IsDrawnOnThePageShown) {
  TestProgram t;
  t.console().screen.SelectPages(1, 0);  // a screen drawing off-screen when the failure came
  t.terminal.Type("y");
  RunTimeErrorReport(t.program, kPermissionDenied);
  EXPECT_NE(t.terminal.Dump().find("Run-time error 70:  Permission denied"), std::string::npos) << t.terminal.Dump();
  EXPECT_EQ(t.console().screen.WrittenPage(), 1);  // put back as it was
}

TEST(RunTimeErrorOf, ExceptionsNothingElseCaughtGetTheirRunTimeNumbers) {
  EXPECT_EQ(RunTimeErrorOf(std::system_error(ENOSPC, std::generic_category())), kDiskFull);
  EXPECT_EQ(RunTimeErrorOf(
                std::filesystem::filesystem_error("x", std::make_error_code(std::errc::permission_denied))),
            kPermissionDenied);
  EXPECT_EQ(RunTimeErrorOf(std::bad_alloc()), kOutOfMemory);
  EXPECT_EQ(RunTimeErrorOf(std::out_of_range("x")), kSubscriptOutOfRange);
  EXPECT_EQ(RunTimeErrorOf(std::runtime_error("x")), kIllegalFunctionCall);
}

}  // namespace
}  // namespace shiftlog
