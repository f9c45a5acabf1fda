#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>

#include "app/alarm.h"
#include "app/com_apartment_win.h"
#include "app/countdown_view_win.h"
#include "base/string.h"
#include "ui/msg_hooker.h"
#include "ui/window.h"

namespace Ostra {
class CSoundPlayer;
}

// The ringing's two sounds, which leave no trace a test could look at: each
// may go through a stand-in here so that a test sees it happen, and in which
// order.  A start returns at once, false when the sound cannot be played; a
// stand-in tells the end of its sound by posting CRinging::SoundEndMessage.
// Null: the system's player.
struct SoundDevice {
  bool (*beep)() = nullptr;
  bool (*playSound)(const Ostra::String& path) = nullptr;
  void (*stopSound)() = nullptr;  // the stand-ins' sound, at once
};

// The alarm's notifications as the dialog gives them: it comes to the front,
// beeps, plays the sound, launches the program and shows the boxes.  Each
// starts at once and tells the alarm of its end from a message of its own,
// never by waiting: the sounds' ends come from the player, the boxes are
// shown from a posted message.  Use on the dialog's thread only.
class CRinging {
 public:
  // A stand-in sound's end: wParam its RingStep, lParam nonzero when it played.
  static constexpr UINT SoundEndMessage = WM_APP + 3;

  // alwaysOnTop: the person's choice, which the wait to be seen must not undo.
  // now: the alarm's monotonic clock, for the ends of the steps.
  CRinging(Ostra::CWindow& window, CCountdownView& view, Alarm& alarm, SoundDevice sound, const bool& alwaysOnTop,
           int64_t (*now)());
  CRinging(const CRinging&) = delete;
  CRinging& operator=(const CRinging&) = delete;
  ~CRinging();

  // At WM_INITDIALOG and WM_DESTROY: the player, and COM for the launch.
  void create(HWND dialog);
  void destroy();
  // The sounds' ends, the boxes' turn, and the person coming to the dialog;
  // true when handled.
  bool onMessage(const Ostra::WindowMessage& m);

  // Milliseconds since the person's last key or button anywhere.
  static int64_t inputIdleMilliseconds();

  // The alarm's effects of the same names.
  void comeToFront(bool takeKeyboard);
  void startBeep();
  void stopBeep();
  void playSound(const Ostra::String& file);
  void stopSound();
  void launch(const Ostra::String& file, const Ostra::String& arguments);
  void showBox(RingStep step, const Ostra::String& text);
  // A snooze chosen from a menu while the message offers one: its button is
  // pressed, so that the box goes with the ringing.  False when no such box is up.
  bool pressSnooze();

 private:
  // Posted to show the box of a step outside the alarm's call.
  static constexpr UINT BoxMessage = WM_APP + 4;

  void soundEnded(RingStep step, bool played);
  // Stops the beep or the sound: through the tests' stand-in when it played it.
  void stopPlaying(bool standIn);
  // The person has come to the waiting dialog or its box: it stops asking.
  void seenAfterAll();
  void showPostedBox(RingStep step);

  Ostra::CWindow& window_;
  CCountdownView& view_;
  Alarm& alarm_;
  SoundDevice sound_;
  const bool& alwaysOnTop_;
  int64_t (*now_)();
  std::unique_ptr<Ostra::CSoundPlayer> player_;
  // COM on the dialog's thread, as the shell's launch expects; taken at the
  // first launch, so that a dialog that only counts never loads ole32.
  std::optional<CComApartment> com_;
  Ostra::String boxText_;     // of the box to come
  HWND snoozeBox_ = nullptr;  // the message with its snooze button, while up
  // Since an expiry that came while the person was typing, until they come to it.
  bool waitingToBeSeen_ = false;
};
