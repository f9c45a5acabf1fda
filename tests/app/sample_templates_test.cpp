#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>

#include "app/settings.h"
#include "base/environment.h"
#include "config/config_data.h"
#include "tests/support/temp_dir.h"

using Ostra::CConfigData;
using Ostra::String;
using Ostra::testing::readBytes;
using Ostra::testing::TempDir;
using Ostra::testing::toPath;

namespace {

// The templates that ship in the release's template folder: each must load
// into every control and be exactly what the program itself would write.
TEST(SampleTemplates, LoadCleanlyAndAreWrittenAsTheProgramWrites) {
  const String folder = Ostra::executableDirectory() + u"sample-templates\\";
  int count = 0;
  for (const auto& entry : std::filesystem::directory_iterator(toPath(folder))) {
    ++count;
    const String path = Ostra::testing::fromPath(entry.path());
    SCOPED_TRACE(Ostra::toUtf8(path));
    CConfigData settings;
    ASSERT_TRUE(settings.load(path));
    EXPECT_EQ(std::size(kSettings), settings.entries().size());
    for (const Setting& s : kSettings) EXPECT_TRUE(settings.contains(s.key)) << Ostra::toUtf8(s.key);
    EXPECT_GT(settings.getNumber(u"TimeM"), 0);
    EXPECT_FALSE(settings.getString(u"NotifyMsgText").empty());
    EXPECT_FALSE(settings.getBool(u"TimeMode"));

    TempDir dir;
    ASSERT_TRUE(settings.save(dir.fileString("again.tpt")));
    EXPECT_EQ(readBytes(entry.path()), readBytes(dir.file("again.tpt")));
  }
  EXPECT_GE(count, 2);
}

}  // namespace
