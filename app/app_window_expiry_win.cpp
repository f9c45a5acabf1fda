// The expiry sequence: the dialog comes back, then each chosen notification
// in a fixed order, then the dialog returns to idle and closes if asked to.
#include <windows.h>

#include "app/app_window_win.h"
#include "base/environment.h"
#include "base/filesystem.h"
#include "base/path.h"
#include "base/shell.h"
#include "base/sound_win.h"
#include "resources/resource.h"

using Ostra::String;

namespace {

constexpr DWORD kBeepFrequency = 886;
constexpr DWORD kBeepMilliseconds = 1000;

}  // namespace

void CAppWindow::expire() {
  // A menu left open would choose among commands that no longer apply.
  EndMenu();
  enterCountdownState(CountdownState::Ringing);
  // Woken by the wake timer, the display stays dark and the system soon sleeps again.
  keepAwake.wakeDisplay();
  setStageIcon(IDI_IDLE);
  place(Placement::Shown);
  // The system may refuse the foreground (another program holds the lock, or hangs):
  // then the taskbar button asks for attention instead.
  if (!window->forceForeground()) window->flashUntilActive();

  // The controls as they are now: changes made during the countdown count.
  if (isChecked(IDC_BEEP)) beep();
  if (isChecked(IDC_SOUND_ON)) playSound();
  if (isChecked(IDC_PROGRAM_ON)) launchProgram();
  if (isChecked(IDC_MESSAGE_ON)) showMessage();

  enterCountdownState(CountdownState::Idle);
  if (isChecked(IDC_CLOSE_AT_END)) window->close();
}

void CAppWindow::beep() {
  if (sound.beep) {
    sound.beep();
    return;
  }
  Beep(kBeepFrequency, kBeepMilliseconds);
}

void CAppWindow::playSound() {
  // %windir% and friends expanded; a relative name is beside the program.
  const String path = Ostra::resolveFromExecutable(text(IDC_SOUND_FILE));
  if (sound.playSound) {
    sound.playSound(path);
    return;
  }
  Ostra::playSoundFile(path);
}

void CAppWindow::launchProgram() {
  const String file = Ostra::resolvePath(text(IDC_PROGRAM_FILE), String());
  const String arguments = text(IDC_PROGRAM_ARGUMENTS);
  // The program starts in its own folder when the path names one absolutely;
  // ours is put back afterwards, also when the launch throws.
  Ostra::CurrentDirectoryScope keep;
  const String folder = Ostra::directoryPart(file);
  if (!folder.empty() && !Ostra::isRelative(folder)) {
    Ostra::setCurrentDirectory(Ostra::stripTrailingSeparator(folder));
  }
  if (arguments.empty()) {
    Ostra::shellOpen(file, SW_SHOWNORMAL);
  } else {
    Ostra::shellOpen(file, arguments, SW_SHOWNORMAL);
  }
}

void CAppWindow::showMessage() { window->messageBox(InformationBox, u"メッセージ", text(IDC_MESSAGE_TEXT)); }
