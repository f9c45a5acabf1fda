#include "ui/tray_icon.h"

#include <algorithm>
#include <iterator>
#include <mutex>
#include <vector>

#include "base/call_form.h"
#include "base/system_library_win.h"
#include "ui/wnd.h"

namespace Ostra {

namespace {

// The tip field of the first-version record, in units of either form; the
// headers' record has the later 128-unit field, of which that shell reads only
// this much.
constexpr int kTipUnits = 64;

UINT registeredTaskbarCreated = 0;

const SystemFunction<decltype(Shell_NotifyIconW)> shellNotifyIconW{shell32Library, "Shell_NotifyIconW", FALSE};
const SystemFunction<decltype(Shell_NotifyIconA)> shellNotifyIconA{shell32Library, "Shell_NotifyIconA", FALSE};
// Windows 7 on.
const SystemFunction<decltype(Shell_NotifyIconGetRect)> shellNotifyIconGetRect{shell32Library,
                                                                               "Shell_NotifyIconGetRect", E_NOTIMPL};

// The records of the live icon objects, for the ids their windows have in use.
std::mutex liveLock;
std::vector<const NOTIFYICONDATAW*>& liveRecords() {
  static std::vector<const NOTIFYICONDATAW*> records;
  return records;
}

UINT lowestFreeId(HWND owner) {
  const auto& live = liveRecords();
  UINT id = 1;
  while (std::any_of(live.begin(), live.end(),
                     [&](const NOTIFYICONDATAW* record) { return record->hWnd == owner && record->uID == id; })) {
    ++id;
  }
  return id;
}

}  // namespace

CTrayIcon::CTrayIcon(HWND owner, unsigned callbackMessage) : record_(std::make_unique<NOTIFYICONDATAW>()) {
  *record_ = NOTIFYICONDATAW{};
  // The first-version layout: every shell since Windows 95 takes it.
  record_->cbSize = NOTIFYICONDATAW_V1_SIZE;
  record_->hWnd = owner;
  record_->uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  record_->uCallbackMessage = callbackMessage;
  {
    std::lock_guard<std::mutex> lock(liveLock);
    record_->uID = lowestFreeId(owner);
    liveRecords().push_back(record_.get());
  }
  if (registeredTaskbarCreated == 0) registeredTaskbarCreated = RegisterWindowMessageA("TaskbarCreated");
  const CWnd window(owner);
  window.allowFromLowerIntegrity(registeredTaskbarCreated);
  window.allowFromLowerIntegrity(callbackMessage);
}

CTrayIcon::~CTrayIcon() {
  remove();
  std::lock_guard<std::mutex> lock(liveLock);
  auto& live = liveRecords();
  live.erase(std::find(live.begin(), live.end(), record_.get()));
}

UINT CTrayIcon::taskbarCreatedMessage() { return registeredTaskbarCreated; }

NOTIFYICONDATAA CTrayIcon::ansiRecord() const {
  NOTIFYICONDATAA record{};
  record.cbSize = NOTIFYICONDATAA_V1_SIZE;
  record.hWnd = record_->hWnd;
  record.uID = record_->uID;
  record.uFlags = record_->uFlags;
  record.uCallbackMessage = record_->uCallbackMessage;
  record.hIcon = record_->hIcon;
  tip_.copyToBuffer(record.szTip, kTipUnits);
  return record;
}

bool CTrayIcon::notify(DWORD command) {
  // Through the ANSI call a code page without the tip's characters (1252 has no
  // Japanese) shows "?", and UTF-8 (65001) fits a third of it.
  if (useWideCalls()) return shellNotifyIconW(command, record_.get()) != FALSE;
  NOTIFYICONDATAA record = ansiRecord();
  return shellNotifyIconA(command, &record) != FALSE;
}

bool CTrayIcon::place(DWORD first) {
  // The shell may hold our icon when we count it as hidden: it keeps it across
  // the "TaskbarCreated" of a DPI change or a remote session, and takes an add
  // late after reporting it failed.  It may also have lost one we count as
  // shown.  Then it refuses the first command and takes the other.
  const DWORD second = first == NIM_ADD ? NIM_MODIFY : NIM_ADD;
  DWORD done = first;
  if (!notify(first)) {
    if (!notify(second)) return false;
    done = second;
  }
  // The shell forgets the version of an icon it adds anew.
  if (done == NIM_ADD) askForVersion();
  shown_ = true;
  return true;
}

void CTrayIcon::askForVersion() {
  version_ = 0;
  // Only the NT family's shells know versions; the second-version layout is the
  // first with the field, and the largest that the older of them take.
  if (!useWideCalls()) return;
  NOTIFYICONDATAW record{};
  record.cbSize = NOTIFYICONDATAW_V2_SIZE;
  record.hWnd = record_->hWnd;
  record.uID = record_->uID;
  for (const UINT version : {NOTIFYICON_VERSION_4, NOTIFYICON_VERSION}) {
    record.uVersion = version;
    if (shellNotifyIconW(NIM_SETVERSION, &record) != FALSE) {
      version_ = version;
      // Version 4 hides the standard tooltip, the countdown's, unless asked for.
      if (version == NOTIFYICON_VERSION_4 && (record_->uFlags & NIF_SHOWTIP) == 0) {
        record_->uFlags |= NIF_SHOWTIP;
        notify(NIM_MODIFY);
      }
      return;
    }
  }
}

bool CTrayIcon::screenRect(RECT& rect) const {
  NOTIFYICONIDENTIFIER icon{};
  icon.cbSize = sizeof icon;
  icon.hWnd = record_->hWnd;
  icon.uID = record_->uID;
  return shown_ && SUCCEEDED(shellNotifyIconGetRect(&icon, &rect));
}

void CTrayIcon::focusNotificationArea() {
  if (shown_) notify(NIM_SETFOCUS);
}

bool CTrayIcon::setIcon(unsigned short iconId) {
  record_->hIcon = icons_.getSmallMetric(iconId, smallIconPixels(record_->hWnd));
  return place(shown_ ? NIM_MODIFY : NIM_ADD);
}

bool CTrayIcon::setTip(const String& text) {
  tip_ = text;
  const String shown = text.wholeCharacterPrefix(kTipUnits - 1);
  std::copy(shown.c_str(), shown.c_str() + shown.length() + 1, record_->szTip);
  if (!shown_) return true;
  return notify(NIM_MODIFY);
}

bool CTrayIcon::showBalloon(const String& text) {
  if (!shown_) return false;
  NOTIFYICONDATAW record = *record_;
  // The balloon's fields came with version 2 of the record (Windows 2000);
  // the ANSI call of older shells has none.
  if (!useWideCalls()) return false;
  record.cbSize = NOTIFYICONDATAW_V2_SIZE;
  record.uFlags = NIF_INFO;
  const String shown = text.wholeCharacterPrefix(static_cast<int>(std::size(record.szInfo)) - 1);
  std::copy(shown.c_str(), shown.c_str() + shown.length() + 1, record.szInfo);
  record.szInfoTitle[0] = 0;
  record.dwInfoFlags = NIIF_INFO | NIIF_NOSOUND | NIIF_RESPECT_QUIET_TIME;
  return shellNotifyIconW(NIM_MODIFY, &record) != FALSE;
}

void CTrayIcon::remove() {
  if (notify(NIM_DELETE)) shown_ = false;
}

bool CTrayIcon::handleTaskbarCreated(const WindowMessage& m) {
  if (registeredTaskbarCreated == 0 || m.message != registeredTaskbarCreated) return false;
  // A restarted shell has forgotten every icon: put ours back if it was showing.
  // One it refuses is no longer shown, so the owner can tell.
  if (shown_ && !place(NIM_ADD)) shown_ = false;
  return true;
}

}  // namespace Ostra
