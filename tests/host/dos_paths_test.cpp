#include "host/dos_paths.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "host/whole_file.h"
#include "support/test_program.h"

namespace shiftlog {
namespace {

namespace fs = std::filesystem;
using testing::TestProgram;

TEST(ResolveDosPath, DriveLettersRootAndCurrentFolder) {
  TestProgram t;
  const fs::path server = t.folder.path() / "server";
  fs::create_directories(server / "Store");
  t.host.drives['F'] = server;
  TestProgram::WriteFileBytes(server / "Store" / "shop1.til", "x");

  EXPECT_EQ(*ResolveDosPath(t.host, "F:\\STORE\\SHOP1.TIL"), server / "Store" / "shop1.til");
  EXPECT_EQ(*ResolveDosPath(t.host, "f:\\store\\"), server / "Store");
  EXPECT_EQ(*ResolveDosPath(t.host, "F:STORE"), server / "Store");
  // A file not there yet keeps the name as the suite writes it.
  EXPECT_EQ(*ResolveDosPath(t.host, "F:\\STORE\\NEW.CLK"), server / "Store" / "NEW.CLK");
  EXPECT_EQ(*ResolveDosPath(t.host, "\\TIMING.DAT"), t.host.root / "TIMING.DAT");
  EXPECT_EQ(*ResolveDosPath(t.host, "C:\\TIMING.DAT"), t.host.root / "TIMING.DAT");
  EXPECT_EQ(*ResolveDosPath(t.host, "SHOP1\\20121215.CLK"), t.host.store / "SHOP1" / "20121215.CLK");
  // ".." never climbs out of the folder a drive letter stands for.
  EXPECT_EQ(*ResolveDosPath(t.host, "F:\\STORE\\..\\..\\..\\STORE"), server / "Store");
  EXPECT_FALSE(ResolveDosPath(t.host, "G:\\STORE\\"));  // not mapped: not ready
  EXPECT_FALSE(ResolveDosPath(t.host, "1:\\X"));
  EXPECT_FALSE(ResolveDosPath(t.host, std::string("SHOP\0.TIL", 9)));
}

TEST(FindEntryIgnoringCase, ExactNameFirstThenTheFirstInByteOrder) {
  TestProgram t;
  for (const char* name : {"til.dat", "Til.Dat", "TIL.dat"})
    TestProgram::WriteFileBytes(t.host.store / name, name);
  EXPECT_EQ(FindEntryIgnoringCase(t.host.store, "Til.Dat"), t.host.store / "Til.Dat");
  EXPECT_EQ(FindEntryIgnoringCase(t.host.store, "TIL.DAT"), t.host.store / "TIL.dat");
  EXPECT_EQ(FindEntryIgnoringCase(t.host.store, "NONE.DAT"), t.host.store / "NONE.DAT");
  EXPECT_EQ(FindEntryIgnoringCase(t.host.store / "missing", "X"), t.host.store / "missing" / "X");
  // Letters beyond ASCII are not folded: the suite never writes them in file names.
  EXPECT_FALSE(SameNameIgnoringCase("\x84", "\x8e"));
  EXPECT_TRUE(SameNameIgnoringCase("Til.Exe", "TIL.EXE"));
}

TEST(DosFormOf, FoldersBelowTheRootOfDriveC) {
  TestProgram t;
  EXPECT_EQ(DosFormOf(t.host, t.host.root / "srv" / "Store"), "C:\\srv\\Store");
  EXPECT_EQ(DosFormOf(t.host, t.host.root), "C:\\");
  EXPECT_EQ(DosFormOf(t.host, t.host.store), "C:\\");  // outside drive C: altogether
}

TEST(WriteWholeFile, ReplacesTheFileAndLeavesNothingElse) {
  TestProgram t;
  const fs::path target = t.host.store / "TILCONFG.DAT";
  TestProgram::WriteFileBytes(target, "a much longer old content");
  ASSERT_TRUE(WriteWholeFile(target, "new"));
  EXPECT_EQ(TestProgram::ReadFileBytes(target), "new");
  EXPECT_EQ(std::distance(fs::directory_iterator(t.host.store), fs::directory_iterator()), 1);

  const Status failed = WriteWholeFile(t.host.store / "no-folder" / "X.DAT", "x");
  EXPECT_EQ(failed.error, kFileNotFound);
  EXPECT_EQ(std::distance(fs::directory_iterator(t.host.store), fs::directory_iterator()), 1);
}

}  // namespace
}  // namespace shiftlog
