#include "app/launch_question.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

#include "app/settings.h"
#include "base/filesystem.h"
#include "config/config_data.h"
#include "tests/support/environment_variable.h"
#include "tests/support/settings_file_bytes.h"
#include "tests/support/temp_dir.h"

using Ostra::CConfigData;
using Ostra::String;
using Ostra::testing::ScopedEnvironmentVariable;
using Ostra::testing::TempDir;
using Ostra::testing::utf16FileBytes;
using Ostra::testing::writeBytes;

namespace {

TEST(LaunchQuestion, TheQuestionShowsWhatRuns) {
  TempDir dir;
  writeBytes(dir.file("tool.exe"), "");
  Ostra::CurrentDirectoryScope keep;
  ASSERT_TRUE(Ostra::setCurrentDirectory(dir.string()));
  const ScopedEnvironmentVariable host(u"KAIRON_TEST_HOST", u"leak.invalid");
  const String intro = u"このテンプレートはインターネットなど他のコンピューターから来たファイルです。";
  const String launch = intro + u"時間になると次のプログラムが実行されます。\n\nプログラム: ";
  const std::u16string blanks(4000, u' ');
  const std::u16string longArguments =
      std::u16string(200, u'a') + std::u16string(3921, u'm') + std::u16string(200, u'z');
  const struct {
    std::vector<std::u16string> lines;
    String want;
  } cases[] = {
      // The program as it will run: found in the current directory.
      {{u"NotifyExe = true", u"NotifyExeFile = tool.exe"},
       launch + dir.string() + u"\\tool.exe\n引数:\n \n\n実行してもよいですか？"},
      {{u"NotifyExe = true", u"NotifyExeFile = invoice_\u202Efdp.exe"},
       launch + u"invoice_<U+202E>fdp.exe\n引数:\n \n\n実行してもよいですか？"},
      {{u"NotifyExe = true", u"NotifyExeFile = x.exe", u"NotifyExePrm = /c" + blanks + u"& stamp.exe PAYLOAD"},
       launch + u"x.exe\n引数:\n /c （空白 4000 文字）& stamp.exe PAYLOAD\n\n実行してもよいですか？"},
      {{u"NotifyExe = true", u"NotifyExeFile = x.exe", u"NotifyExePrm = " + longArguments},
       launch + u"x.exe\n引数:\n " + std::u16string(200, u'a') + u"…（全 4321 文字）" + std::u16string(200, u'z') +
           u"\n\n実行してもよいですか？"},
      // A sound from another computer asks too, with or without a launch.
      {{u"NotifyWav = true", u"NotifyWavFile = \\\\%KAIRON_TEST_HOST%\\s\\a.wav"},
       intro + u"時間になると次のサウンドがネットワークから読み込まれます。\n\nサウンド: "
               u"\\\\leak.invalid\\s\\a.wav\n\n実行してもよいですか？"},
      {{u"NotifyExe = true", u"NotifyExeFile = x.exe", u"NotifyWav = true", u"NotifyWavFile = \\\\?\\UNC\\h\\s\\a.wav"},
       launch + u"x.exe\n引数:\n \nサウンド: \\\\?\\UNC\\h\\s\\a.wav\n\n実行してもよいですか？"},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    CConfigData settings;
    writeDefaults(settings);
    std::u16string text;
    for (const std::u16string& line : cases[i].lines) text += line + u"\r\n";
    writeBytes(dir.file("t.tpt"), utf16FileBytes(text));
    ASSERT_TRUE(settings.load(dir.fileString("t.tpt")));
    EXPECT_EQ(cases[i].want, launchConfirmationMessage(settings)) << "case " << i;
  }
}

TEST(LaunchQuestion, OnlyANetworkSoundThatPlaysAsks) {
  const struct {
    const char16_t* on;
    const char16_t* file;
    bool network;
  } cases[] = {
      {u"true", u"\\\\h\\s\\a.wav", true},   {u"false", u"\\\\h\\s\\a.wav", false},
      {u"true", u"//h/s/a.wav", true},       {u"true", u"%windir%\\Media\\chimes.wav", false},
      {u"true", u"sounds\\bell.wav", false},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    CConfigData settings;
    writeDefaults(settings);
    settings.setRaw(u"NotifyWav", cases[i].on);
    settings.setRaw(u"NotifyWavFile", cases[i].file);
    EXPECT_EQ(cases[i].network, playsNetworkSound(settings)) << "case " << i;
  }
}

}  // namespace
