#include "app/launch_question.h"

#include <exception>
#include <optional>

#include "app/notification_files.h"
#include "app/settings.h"
#include "app/shown_text.h"
#include "base/path.h"
#include "base/shell.h"
#include "base/zone_identifier.h"

using Ostra::CConfigData;
using Ostra::String;

bool launchesProgram(const CConfigData& settings) { return holdsExactlyTrue(settings, u"NotifyExe"); }

bool playsNetworkSound(const CConfigData& settings) {
  if (!holdsExactlyTrue(settings, u"NotifyWav") || !settings.contains(u"NotifyWavFile")) return false;
  try {
    return Ostra::isNetworkPath(soundToPlay(settings.getRaw(u"NotifyWavFile")));
  } catch (const std::exception&) {
    return false;
  }
}

bool launchNeedsConsent(const CConfigData& settings, const String& templatePath) {
  // The document as a whole decides: a template may name only the arguments
  // and leave the launch switched on by the default-settings file.
  if (!holdsExactlyTrue(settings, u"NotifyExe") && !playsNetworkSound(settings)) return false;
  return Ostra::isFromAnotherComputer(templatePath);
}

namespace {

bool hasExtension(const String& path, const char16_t* extension) {
  const int dot = Ostra::extensionDot(path);
  const String wanted(extension);
  return dot >= 0 && path.length() - dot == wanted.length() && path.compareAt(dot, wanted, wanted.length(), 1) == 0;
}

// What a shortcut starts, where the shell would follow it.  Not off a network
// path: reading it would reach the other computer before the user says yes.
String shortcutLines(const String& program) {
  if (Ostra::isNetworkPath(program)) return String();
  if (hasExtension(program, u".lnk")) {
    const std::optional<Ostra::ShortcutTarget> shortcut = Ostra::readShortcut(program);
    if (!shortcut) return String();
    return u"\nショートカットの先: " + shownText(shortcut->target) + u"\nショートカットの引数: " +
           shownText(shortcut->arguments);
  }
  if (hasExtension(program, u".url")) return u"\nアドレス: " + shownText(Ostra::internetShortcutAddress(program));
  return String();
}

}  // namespace

String launchConfirmationMessage(const CConfigData& settings) {
  String text = u"このテンプレートはインターネットなど他のコンピューターから来たファイルです。";
  if (holdsExactlyTrue(settings, u"NotifyExe")) {
    const String program = programToLaunch(settings.getRaw(u"NotifyExeFile"));
    text = text + u"時間になると次のプログラムが実行されます。\n\nプログラム: " + shownText(program) +
           shortcutLines(program) + u"\n引数:\n " + shownText(settings.getRaw(u"NotifyExePrm"));
  } else {
    text = text + u"時間になると次のサウンドがネットワークから読み込まれます。\n";
  }
  if (playsNetworkSound(settings))
    text = text + u"\nサウンド: " + shownText(soundToPlay(settings.getRaw(u"NotifyWavFile")));
  return text + u"\n\n実行してもよいですか？";
}
