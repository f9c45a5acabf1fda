// The command line against arbitrary text, arguments of any length included:
// how it splits into arguments, and what the program makes of them at start.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cwctype>
#include <string>
#include <vector>

#include "app/startup_options.h"
#include "base/command_line.h"
#include "base/string.h"
#include "fuzz/fuzz_input.h"

namespace {

using namespace Ostra;
using Ostra::fuzzing::require;

// Every argument is a piece of the line, in order, and a line without quotes
// is its blank-separated words, each without its leading white space.
void splittingKeepsItsRules(const String& line, const std::vector<String>& arguments) {
  const std::u16string& units = line.str();
  size_t at = 0;
  for (const String& argument : arguments) {
    const size_t found = units.find(argument.str(), at);
    require(found != std::u16string::npos, "each argument is the next piece of the line");
    at = found + argument.str().size();
  }
  if (units.find(u'"') != std::u16string::npos) return;
  std::vector<String> words;
  for (size_t start = 0; start <= units.size();) {
    size_t end = units.find(u' ', start);
    if (end == std::u16string::npos) end = units.size();
    size_t first = start;
    while (first < end && std::iswspace(static_cast<wint_t>(units[first]))) ++first;
    if (first < end) words.emplace_back(units.substr(first, end - first));
    start = end + 1;
  }
  require(arguments == words, "without quotes, the blank-separated words");
}

// The last switch wins; the first argument that is not a switch and not empty
// is the file, and every argument after it that is not a switch is an extra.
void startupOptionsKeepTheirRules(const std::vector<String>& arguments) {
  const StartupOptions options = parseStartupArguments(arguments);
  StartupMode mode = StartupMode::None;
  std::vector<String> others;
  for (const String& argument : arguments) {
    if (argument.str() == u"/open") {
      mode = StartupMode::Open;
    } else if (argument.str() == u"/select") {
      mode = StartupMode::Select;
    } else if (!others.empty() || !argument.empty()) {
      others.push_back(argument);
    }
  }
  require(options.mode == mode, "the last switch wins");
  require(options.file == (others.empty() ? String() : others.front()), "the first other argument is the file");
  require(options.extras.size() == (others.empty() ? 0 : others.size() - 1), "the rest are extras");
  for (size_t i = 0; i < options.extras.size(); ++i) {
    require(options.extras[i] == others[i + 1], "the extras in order");
    if (i >= 8) continue;  // the box text is made alike for every extra
    const String message = extraArgumentMessage(options.extras[i]);
    const std::u16string& text = message.str();
    const std::u16string& extra = options.extras[i].str();
    require(text.size() >= extra.size() && text.compare(text.size() - extra.size(), extra.size(), extra) == 0,
            "an extra's box ends with it");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const String line(Ostra::fuzzing::unitsOf(Ostra::fuzzing::grown(data, size)));
  const std::vector<String> arguments = splitCommandLine(line);
  splittingKeepsItsRules(line, arguments);
  startupOptionsKeepTheirRules(arguments);
  // The program's own name comes first and is dropped, as at start-up (short
  // lines only: a long one costs much and shows nothing new here).
  if (line.length() > 4096) return 0;
  std::vector<String> afterName = splitCommandLine(String(u"Kairon.exe ") + line);
  if (!afterName.empty()) afterName.erase(afterName.begin());
  startupOptionsKeepTheirRules(afterName);
  return 0;
}
