// The mark of the file Windows opens, whatever the name typed for it.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "base/platform_win.h"
#include "base/unique_handle_win.h"
#include "base/zone_identifier.h"
#include "tests/support/temp_dir.h"

namespace {

using Ostra::testing::readBytes;
using Ostra::testing::TempDir;
using Ostra::testing::writeBytes;

TEST(ZoneIdentifierWin, TheMarkOfTheFileTheSystemOpens) {
  TempDir dir;
  writeBytes(dir.file("a.tpt"), "TimeM = 3\r\n");
  const std::string mark = "[ZoneTransfer]\r\nZoneId=3\r\n";
  writeBytes(dir.file("a.tpt:Zone.Identifier"), mark);
  if (readBytes(dir.file("a.tpt:Zone.Identifier")) != mark) GTEST_SKIP() << "this file system keeps no streams";
  // Trailing dots and blanks are dropped before the file is opened.
  for (const char* name : {"a.tpt", "a.tpt.", "a.tpt ", "a.tpt. . ", "x\\..\\a.tpt"})
    EXPECT_TRUE(Ostra::isFromAnotherComputer(dir.fileString(name))) << name;
}

TEST(ZoneIdentifierWin, AStreamHeldByAnotherCountsAsAMark) {
  TempDir dir;
  writeBytes(dir.file("a.tpt"), "TimeM = 3\r\n");
  writeBytes(dir.file("a.tpt:Zone.Identifier"), "[ZoneTransfer]\r\nZoneId=2\r\n");
  EXPECT_FALSE(Ostra::isFromAnotherComputer(dir.fileString("a.tpt")));
  {
    // Opened with no sharing, as a program that keeps others out would.
    const Ostra::UniqueFileHandle held(CreateFileW(Ostra::wide(dir.fileString("a.tpt:Zone.Identifier")), GENERIC_READ,
                                                   0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held);
    EXPECT_EQ(Ostra::StreamState::Unreadable, Ostra::readZoneStream(dir.fileString("a.tpt")).state);
    EXPECT_TRUE(Ostra::isFromAnotherComputer(dir.fileString("a.tpt")));
  }
  EXPECT_FALSE(Ostra::isFromAnotherComputer(dir.fileString("a.tpt")));
}

}  // namespace
