#include "base/zone_identifier.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <string>

#include "tests/support/temp_dir.h"

using Ostra::kNoZone;
using Ostra::testing::readBytes;
using Ostra::testing::TempDir;
using Ostra::testing::writeBytes;

namespace {

using namespace std::string_literals;

TEST(ZoneIdentifier, ZoneIdFromStreamReadsTheZoneTransferSection) {
  const struct {
    std::string bytes;
    int want;
  } cases[] = {
      {"[ZoneTransfer]\r\nZoneId=3\r\nReferrerUrl=https://example.com/\r\nHostUrl=https://example.com/t.tpt\r\n", 3},
      {"[ZoneTransfer]\rZoneId=4", 4},
      {"  [ zonetransfer ]  \n\tzoneid = 3 \n", 3},
      {"[ZoneTransfer]\r\nHostUrl=https://x/?ZoneId=2\r\nZoneId=3abc", 3},
      {"[ZoneTransfer]\r\nZoneId=2\r\nZoneId=3", 2},  // the first, as GetPrivateProfileInt reads it
      {"ZoneId=3\r\n[ZoneTransfer]\r\n[Other]\r\nZoneId=3\r\n", kNoZone},
      {"[ZoneTransfer\r\nZoneId=3", kNoZone},
      {"[ZoneTransfer]\r\nZoneId=4294967299", kNoZone},  // would wrap round to 3
      {"\xFF\xFE[\0Z\0o\0n\0e\0T\0r\0a\0n\0s\0f\0e\0r\0]\0\r\0\n\0Z\0o\0n\0e\0I\0d\0=\0004\0"s, 4},
  };
  for (size_t i = 0; i < std::size(cases); ++i) EXPECT_EQ(cases[i].want, Ostra::zoneIdFromStream(cases[i].bytes)) << i;
}

TEST(ZoneIdentifier, ReadsABoundedPartOfTheFilesOwnStream) {
  TempDir dir;
  writeBytes(dir.file("a.tpt"), "TimeM = 3\r\n");
  EXPECT_EQ(Ostra::StreamState::Missing, Ostra::readZoneStream(dir.fileString("a.tpt")).state);
  EXPECT_FALSE(Ostra::isFromAnotherComputer(dir.fileString("a.tpt")));
  const std::string mark = "[ZoneTransfer]\r\nZoneId=3\r\nHostUrl=" + std::string(200 * 1024, 'x');
  writeBytes(dir.file("a.tpt:Zone.Identifier"), mark);
  if (readBytes(dir.file("a.tpt:Zone.Identifier")) != mark) GTEST_SKIP() << "this file system keeps no streams";
  EXPECT_EQ(mark.substr(0, Ostra::kMaxZoneStreamBytes), Ostra::readZoneStream(dir.fileString("a.tpt")).bytes);
  // A path that names a stream of the file, the main one too, has the file's mark.
  for (const char* name : {"a.tpt", "a.tpt::$DATA", "a.tpt:other"})
    EXPECT_TRUE(Ostra::isFromAnotherComputer(dir.fileString(name))) << name;
}

TEST(ZoneIdentifier, OnlyAMissingStreamMeansNoMark) {
  TempDir dir;
  const struct {
    const char* stream;  // nullptr: none; "/": a folder of the stream's name, which cannot be read
    bool marked;
  } cases[] = {
      {nullptr, false}, {"[ZoneTransfer]\r\nZoneId=2\r\n", false},
      {"", false},      {"[ZoneTransfer]\r\nZoneId=4\r\n", true},
      {"/", true},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const std::string name = "t" + std::to_string(i) + ".tpt";
    writeBytes(dir.file(name), "TimeM = 3\r\n");
    const auto stream = dir.file(name + ":Zone.Identifier");
    if (cases[i].stream != nullptr && cases[i].stream == "/"s) {
      std::filesystem::create_directory(stream);
    } else if (cases[i].stream != nullptr) {
      writeBytes(stream, cases[i].stream);
    }
    EXPECT_EQ(cases[i].marked, Ostra::isFromAnotherComputer(dir.fileString(name))) << i;
  }
}

}  // namespace
