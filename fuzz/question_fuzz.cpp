// The question before a marked template's launch, against arbitrary input:
// the zone stream's bytes and the stream's path, the texts shown (no hidden
// character, a bounded length), the template menu's names, and settings files
// above 300 KB read through CConfigData::read.  The input is the stream's
// bytes, and as UTF-16 units cut at U+0001 into a template path, a program,
// its arguments and a sound file.
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "app/launch_question.h"
#include "app/settings.h"
#include "app/shown_text.h"
#include "app/template_list.h"
#include "base/path.h"
#include "base/zone_identifier.h"
#include "config/config_data.h"
#include "fuzz/fuzz_input.h"

namespace {

using namespace Ostra;
using Ostra::fuzzing::require;
namespace fs = std::filesystem;

// What shownText can make of one text: 400 pieces of at most " （空白 N 文字）" or
// "<U+XXXXX>", and the mark of the cut.
constexpr size_t kShownBound = 2 * kShownEnds * 27 + 40;

const fs::path& privateFolder() {
  static const fs::path folder = [] {
    char pattern[] = "/tmp/kairon-question-fuzz-XXXXXX";
    const char* made = mkdtemp(pattern);
    require(made != nullptr, "a temporary folder");
    return fs::path(made);
  }();
  return folder;
}

bool hidesNothing(const String& text, char16_t allowed) {
  const std::u16string& units = text.str();
  for (size_t i = 0; i < units.size(); ++i) {
    char32_t c = units[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (units[i + 1] - 0xDC00);
      ++i;
    }
    if (c != allowed && isHiddenCharacter(c)) return false;
  }
  return true;
}

void zoneStreamKeepsItsRules(const std::string& bytes, const String& path) {
  const int zone = zoneIdFromStream(bytes);
  require(zone == kNoZone || (zone >= 0 && zone <= 999999999), "a zone is a number of at most nine digits");
  const String stream = zoneStreamPath(path);
  const std::u16string suffix = u":Zone.Identifier";
  require(stream.str().size() >= suffix.size() &&
              stream.str().compare(stream.str().size() - suffix.size(), suffix.size(), suffix) == 0,
          "the stream is the file's Zone.Identifier");
  const std::u16string file = stream.str().substr(0, stream.str().size() - suffix.size());
  const size_t nameStart = file.find_last_of(u"\\/") == std::u16string::npos ? 0 : file.find_last_of(u"\\/") + 1;
  const size_t colon = file.find(u':', nameStart == 0 && file.size() >= 2 && file[1] == u':' ? 2 : nameStart);
  require(colon == std::u16string::npos, "no other stream is named");
  require(path.str().compare(0, file.size(), file) == 0, "the file is the path's own");
}

void shownTextKeepsItsRules(const String& text) {
  const String shown = shownText(text);
  require(hidesNothing(shown, 0xFFFF), "a shown text holds no control or direction character");
  require(static_cast<size_t>(shown.length()) <= kShownBound, "a shown text is bounded");
}

void questionKeepsItsRules(const std::vector<String>& pieces) {
  CConfigData settings;
  writeDefaults(settings);
  settings.setRaw(u"NotifyExe", u"true");
  settings.setRaw(u"NotifyExeFile", pieces[1]);
  settings.setRaw(u"NotifyExePrm", pieces[2]);
  settings.setRaw(u"NotifyWav", u"true");
  settings.setRaw(u"NotifyWavFile", pieces[3]);
  String question;
  try {
    question = launchConfirmationMessage(settings);
  } catch (const std::exception&) {
    return;  // a reference that cannot be expanded: the question is not asked
  }
  require(hidesNothing(question, u'\n'), "the question holds no control or direction character but its line breaks");
  require(static_cast<size_t>(question.length()) <= 4 * kShownBound + 400, "the question is bounded");
}

// One file named by the path piece, listed back as the menu lists it.
void menuNamesKeepTheirRules(const String& name) {
  const std::string utf8 = toUtf8(name);
  if (utf8.empty() || utf8.size() > 200 || utf8.find_first_of(std::string("/\\\0", 3)) != std::string::npos ||
      fromUtf8(utf8) != name)
    return;
  const fs::path folder = privateFolder() / "menu";
  fs::remove_all(folder);
  fs::create_directories(folder);
  const int fd = open((folder / (utf8 + ".tpt")).c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
  if (fd < 0) return;
  close(fd);
  const std::vector<String> names = templateMenuNames(fromUtf8(folder.string() + "/"), 30);
  require(names.size() <= 1, "one file, at most one name");
  if (!names.empty()) require(names[0] == name, "the name is the file's, unexpanded");
}

void readKeepsItsRules(const std::string& bytes) {
  const fs::path file = privateFolder() / "big.tpt";
  const int fd = open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  require(fd >= 0, "the file is written");
  for (size_t done = 0; done < bytes.size();) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    require(n > 0, "the file is written");
    done += static_cast<size_t>(n);
  }
  close(fd);
  CConfigData document;
  const LoadResult result = document.read(fromUtf8(file.string()));
  require(result != LoadResult::Missing, "a file that is there is not missing");
  require(document.entries().size() <= kMaxConfigKeys, "no more keys than a file may hold");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes = Ostra::fuzzing::grown(data, size);
  std::vector<String> pieces;
  for (std::u16string& piece : Ostra::fuzzing::piecesOf(Ostra::fuzzing::unitsOf(bytes), 4))
    pieces.emplace_back(std::move(piece));
  zoneStreamKeepsItsRules(bytes, pieces[0]);
  for (const String& piece : pieces) shownTextKeepsItsRules(piece);
  questionKeepsItsRules(pieces);
  menuNamesKeepTheirRules(pieces[0]);
  if (bytes.size() > 64 * 1024) readKeepsItsRules(bytes);
  return 0;
}
