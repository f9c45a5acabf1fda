#include "app/startup_options.h"

using Ostra::String;

StartupOptions parseStartupArguments(const std::vector<String>& arguments) {
  StartupOptions options;
  for (const String& argument : arguments) {
    if (argument == String(u"/open")) {
      options.mode = StartupMode::Open;
    } else if (argument == String(u"/select")) {
      options.mode = StartupMode::Select;
    } else if (options.file.empty()) {
      options.file = argument;
    } else {
      options.extras.push_back(argument);
    }
  }
  return options;
}

String extraArgumentMessage(const String& argument) { return u"謎のコマンドライン引数が検出されました：" + argument; }
