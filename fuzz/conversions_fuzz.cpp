// The dialog's conversions against arbitrary text, absurd numbers included:
// the number a text reads as, a settings document into the controls and back,
// and the count of seconds from the three time texts with the countdown it
// starts, paused, extended and resumed.  The input, as UTF-16 units, is cut at U+0001 into the hours,
// minutes and seconds texts and a settings document; its first bytes also
// choose the mode, the time of day and a number.
#include <climits>
#include <clocale>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "app/settings.h"
#include "app/timer_engine.h"
#include "base/encoding.h"
#include "base/exception.h"
#include "base/string.h"
#include "config/config_data.h"
#include "config/config_text.h"
#include "fuzz/fuzz_input.h"
#include "resources/resource.h"

namespace {

using namespace Ostra;
using Ostra::fuzzing::require;

int clampToInt(__int128 value) {
  return value > INT_MAX ? INT_MAX : value < INT_MIN ? INT_MIN : static_cast<int>(value);
}

// The C library's own reading of the bytes, in the "C" locale and 64 bits
// wide (saturating there), as the reference for toInt.
int referenceToInt(const String& text) {
  static const locale_t c = newlocale(LC_ALL_MASK, "C", nullptr);
  const std::string bytes = defaultEncoding().encode(text);
  return clampToInt(strtoll_l(bytes.c_str(), nullptr, 10, c));
}

void numbersReadAsTheCLibraryWouldClamped(const String& text, int number) {
  require(text.toInt() == referenceToInt(text), "toInt is atoi's reading, clamped to 32 bits");
  require(String::fromInt(number).toInt() == number, "a formatted number reads back");
}

// The controls as the dialog keeps them: texts and check marks; a number is
// the text's leading digits, as the edit control's getInt reads it.
class Controls final : public ISettingsControls {
 public:
  String text(int id) override { return texts_[id]; }
  void setText(int id, const String& text) override { texts_[id] = text; }
  int number(int id) override { return texts_[id].toInt(); }
  bool isChecked(int id) override { return checks_[id]; }
  void setChecked(int id, bool checked) override { checks_[id] = checked; }
  bool operator==(const Controls& other) const { return texts_ == other.texts_ && checks_ == other.checks_; }

 private:
  std::map<int, String> texts_;
  std::map<int, bool> checks_;
};

// A document as a loaded file gives it: the defaults, then the file's entries.
// Shown in the controls, it either fails at a malformed value or shows each
// value by its type; saved from the controls and shown again, it shows the
// same from then on.
void settingsShowAndSaveStably(const String& document) {
  CConfigData settings;
  writeDefaults(settings);
  parseText(settings, document);
  Controls shown;
  try {
    settingsToControls(settings, shown);
  } catch (const RuntimeException&) {
    bool malformed = false;
    for (const Setting& s : kSettings) {
      const String stored = settings.getRaw(s.key);
      if (s.kind == SettingKind::Number) malformed |= stored.empty();
      if (s.kind == SettingKind::Boolean) malformed |= stored != String(u"true") && stored != String(u"false");
    }
    require(malformed, "only an empty number or a boolean other than true/false fails");
    return;
  }
  const bool onTop = settings.contains(kAlwaysOnTopKey) && settings.getRaw(kAlwaysOnTopKey) == String(u"true");
  require(readAlwaysOnTop(settings) == onTop, "always on top only where its key holds true");
  for (const Setting& s : kSettings) {
    const String stored = settings.getRaw(s.key);
    if (s.kind == SettingKind::Boolean) require(shown.isChecked(s.controlId) == (stored == String(u"true")), "bool");
    if (s.kind == SettingKind::Number) {
      const int number = stored.toInt();
      require(shown.text(s.controlId) == (number == 0 ? String() : String::fromInt(number)), "number shown");
    }
  }

  Controls again = shown, third;
  for (Controls* target : {&again, &third}) {
    CConfigData saved, reread;
    Controls& from = target == &again ? shown : again;
    controlsToSettings(from, saved);
    parseText(reread, composeText(saved));
    settingsToControls(reread, *target);
  }
  require(again == third, "saved and read again, the controls stay as they are");
}

// The count never wraps: it is the exact arithmetic of the three numbers,
// clamped to 32 bits; a countdown started with it is due at once when it is 0
// or less, and otherwise exactly `count` seconds later.
void countStartsTheRightCountdown(const String& hours, const String& minutes, const String& seconds, bool timeOfDay,
                                  const LocalTime& now, int earlyMs) {
  const int count = calcRemainSeconds(hours, minutes, seconds, timeOfDay, now);
  __int128 exact = (static_cast<__int128>(hours.toInt()) * 60 + minutes.toInt()) * 60 + seconds.toInt();
  if (timeOfDay) {
    exact -= now.hour * 3600 + now.minute * 60 + now.second;
    if (exact <= 0) exact += SecondsPerDay;
  }
  require(count == clampToInt(exact), "the count is the exact one, clamped");
  // A time of day is ahead, unless negative fields put it before yesterday
  // (one day is added, no more): such a count is due at once.
  if (timeOfDay && hours.toInt() >= 0 && minutes.toInt() >= 0 && seconds.toInt() >= 0) {
    require(count >= 1, "a time of day is always ahead");
  }

  const int64_t startMs = 1'000'000;
  Countdown countdown;
  countdown.start(count, startMs, timeOfDay ? earlyMs : 0);
  require(countdown.running(), "a started countdown runs, whatever its count");
  require(countdown.remainSeconds() == (count < 0 ? 0 : count), "it starts at the count, 0 at least");
  require(!captionText(countdown.remainSeconds()).empty(), "a caption");
  const int icon = stageIconId(countdown.remainSeconds());
  require(icon == IDI_RUNNING || (icon <= IDI_DIGIT0 - 1 && icon >= IDI_DIGIT0 - 9), "a running stage icon");
  const int delay = countdown.nextTickDelay(startMs);
  require(delay >= 0 && delay <= 1000 + TickSlackMilliseconds, "the first tick within a second");
  const int64_t deadline = startMs + int64_t{count < 0 ? 0 : count} * 1000 - (timeOfDay ? earlyMs : 0);
  if (deadline > startMs) require(!countdown.tick(deadline - 1), "not due before the deadline");
  require(countdown.tick(deadline), "due at the deadline");
  require(countdown.remainSeconds() == 0, "nothing left when due");
}

// Seconds left in leftMs, rounded up, 0 at least and clamped to 32 bits.
int secondsIn(int64_t leftMs) { return leftMs <= 0 ? 0 : clampToInt((static_cast<__int128>(leftMs) + 999) / 1000); }

// Paused some milliseconds after the start, extended, and resumed later: the
// seconds left stand still while paused, grow by exactly the extension (up to
// the 32-bit limit), and the countdown is due that long after the resume.
void pauseAndExtendStaySane(int count, int pauseMs, bool longExtension) {
  const int64_t startMs = 1'000'000;
  Countdown countdown;
  countdown.start(count, startMs);
  const int64_t pausedAtMs = startMs + pauseMs;
  countdown.pause(pausedAtMs);
  require(countdown.running() && countdown.paused(), "a pause keeps the countdown");
  int64_t leftMs = int64_t{count < 0 ? 0 : count} * 1000 - pauseMs;
  if (leftMs < 0) leftMs = 0;
  require(countdown.remainSeconds() == secondsIn(leftMs), "paused at the seconds left");
  require(!countdown.tick(pausedAtMs + 3'600'000), "never due while paused");
  require(countdown.remainSeconds() == secondsIn(leftMs), "the seconds left stand still while paused");

  const int seconds = longExtension ? LongExtensionSeconds : ShortExtensionSeconds;
  countdown.extend(seconds, pausedAtMs + 5000);
  leftMs += int64_t{seconds} * 1000;
  require(countdown.paused() && countdown.remainSeconds() == secondsIn(leftMs), "extended by the seconds added");
  require(countdown.leftMilliseconds(pausedAtMs + 6000) == leftMs, "the time left, to the millisecond");
  require(!captionText(countdown.remainSeconds(), true).empty(), "a paused caption");
  const int permille = countdown.progressPermille(pausedAtMs + 6000);
  require(permille >= 0 && permille <= 1000, "the progress in range while paused");

  const int64_t resumedAtMs = pausedAtMs + 7000;
  countdown.resume(resumedAtMs);
  require(countdown.running() && !countdown.paused(), "resumed");
  const int64_t deadlineMs = resumedAtMs + leftMs;
  require(!countdown.tick(deadlineMs - 1), "not due before the time left has passed");
  require(countdown.tick(deadlineMs) && countdown.remainSeconds() == 0, "due when it has");
  require(countdown.progressPermille(deadlineMs) == 1000, "the progress complete at the deadline");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes = Ostra::fuzzing::grown(data, size);
  const std::u16string units = Ostra::fuzzing::unitsOf(bytes);
  std::vector<String> pieces;
  for (std::u16string& piece : Ostra::fuzzing::piecesOf(units, 4)) pieces.emplace_back(std::move(piece));

  // The first bytes, whatever else they are, choose the rest.
  unsigned char head[8] = {};
  for (size_t i = 0; i < sizeof head && i < size; ++i) head[i] = data[i];
  const bool timeOfDay = head[0] & 1;
  const LocalTime now{head[1] % 24, head[2] % 60, head[3] % 60, 0};
  const int earlyMs = (head[4] | head[5] << 8) % 1000;
  const int number = static_cast<int>(static_cast<uint32_t>(head[4] | head[5] << 8 | head[6] << 16 | head[7] << 24));

  for (const String& piece : pieces) numbersReadAsTheCLibraryWouldClamped(piece, number);
  countStartsTheRightCountdown(pieces[0], pieces[1], pieces[2], timeOfDay, now, earlyMs);
  pauseAndExtendStaySane(calcRemainSeconds(pieces[0], pieces[1], pieces[2], false, now), number & 0xFFFF,
                         head[7] & 0x80);
  settingsShowAndSaveStably(pieces[3]);
  settingsShowAndSaveStably(String(units));
  return 0;
}
