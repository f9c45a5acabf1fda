// How the cost of the configuration format grows with the size of a document:
// composeText and parseText (and, for reference, save and load of the file)
// on documents of about 1 KB, 1 MB and 10 MB of file text (with 3 MB and
// 30 MB between and beyond), plus one 10 MB line.
// Prints one line per figure; the time is the best of several runs.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "config/config_data.h"
#include "config/config_text.h"

namespace {

using namespace Ostra;
using Clock = std::chrono::steady_clock;

// Lines shaped like the program's own: a key, " = " and a value with an escape.
CConfigData documentOfSize(size_t bytes) {
  CConfigData document;
  size_t size = 0;
  for (int i = 0; size < bytes; ++i) {
    const String key = String::format(u"Setting%07d", i);
    const String value = String::format(u"%%windir%%\\Media\\chimes-%d.wav\r\nline two of %d", i, i);
    document.setString(key, value);
    size += 2 * static_cast<size_t>(key.length() + 3 + escapeValue(value).length() + 2);
  }
  return document;
}

CConfigData oneLongLine(size_t bytes) {
  CConfigData document;
  std::u16string value;
  while (value.size() * 2 < bytes) value += u"C:\\Program Files\\Kairon\\ ";
  document.setRaw(u"Long", String(std::move(value)));
  return document;
}

// Best seconds of one call, over enough calls to fill about a second.
double bestSeconds(const std::function<void()>& work) {
  double best = 1e30;
  double total = 0;
  for (int run = 0; run < 1000000 && (run < 3 || total < 1.0); ++run) {
    const auto start = Clock::now();
    work();
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    best = std::min(best, seconds);
    total += seconds;
  }
  return best;
}

void report(const char* what, const char* label, size_t bytes, double seconds) {
  std::printf("%-8s %-22s %10zu bytes %12.3f ms %8.2f ns/byte %8.1f MB/s\n", what, label, bytes, seconds * 1e3,
              seconds * 1e9 / static_cast<double>(bytes), static_cast<double>(bytes) / seconds / 1e6);
}

void measure(const char* label, const CConfigData& document, const std::filesystem::path& folder) {
  const String text = composeText(document);
  const size_t bytes = static_cast<size_t>(text.length()) * 2 + 2;  // the file: mark and UTF-16 units
  // The floor: reading every unit of every entry once, in key order, as
  // composing must.  Where it grows faster than the size, memory does.
  report("walk", label, bytes, bestSeconds([&] {
           unsigned sum = 0;
           for (const auto& entry : document.entries()) {
             for (const char16_t unit : entry.first.str()) sum += unit;
             for (const char16_t unit : entry.second.str()) sum += unit;
           }
           if (sum == 1) std::abort();
         }));
  report("compose", label, bytes, bestSeconds([&] {
           if (composeText(document).length() != text.length()) std::abort();
         }));
  report("parse", label, bytes, bestSeconds([&] {
           CConfigData parsed;
           parseText(parsed, text);
           if (parsed.entries().size() != document.entries().size()) std::abort();
         }));
  const String path = fromUtf8((folder / "bench.cfg").string());
  report("save", label, bytes, bestSeconds([&] {
           if (!CConfigData(document).save(path)) std::abort();
         }));
  report("load", label, bytes, bestSeconds([&] {
           CConfigData loaded;
           if (!loaded.load(path)) std::abort();
         }));
}

}  // namespace

int main() {
  const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                       ("kairon-bench-" + std::to_string(Clock::now().time_since_epoch().count()));
  std::filesystem::create_directories(folder);
  // 3 MB and 30 MB show where the cost per byte settles once the documents
  // no longer fit in the processor's caches.
  measure("1 KB, lines", documentOfSize(1 << 10), folder);
  measure("1 MB, lines", documentOfSize(1 << 20), folder);
  measure("3 MB, lines", documentOfSize(3 << 20), folder);
  measure("10 MB, lines", documentOfSize(10 << 20), folder);
  measure("30 MB, lines", documentOfSize(30 << 20), folder);
  measure("10 MB, one line", oneLongLine(10 << 20), folder);
  std::filesystem::remove_all(folder);
  return 0;
}
