#include "ui/tray_icon.h"

namespace Ostra {

namespace {

// Distinguishes the icons of one window by the object's address.
constexpr UINT_PTR kIdMask = 0x1D3FA574;
// The tip field of the first-version record; the headers' record has the
// later 128-byte field, of which that shell reads only this much.
constexpr int kTipBytes = 64;

UINT registeredTaskbarCreated = 0;

}  // namespace

CTrayIcon::CTrayIcon(HWND owner, unsigned callbackMessage) : record_(std::make_unique<NOTIFYICONDATAA>()) {
  *record_ = NOTIFYICONDATAA{};
  // The first-version layout: every shell since Windows 95 takes it.
  record_->cbSize = NOTIFYICONDATAA_V1_SIZE;
  record_->hWnd = owner;
  record_->uID = static_cast<UINT>(reinterpret_cast<UINT_PTR>(this) ^ kIdMask);
  record_->uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  record_->uCallbackMessage = callbackMessage;
  if (registeredTaskbarCreated == 0) registeredTaskbarCreated = RegisterWindowMessageA("TaskbarCreated");
}

CTrayIcon::~CTrayIcon() { remove(); }

UINT CTrayIcon::taskbarCreatedMessage() { return registeredTaskbarCreated; }

bool CTrayIcon::setIcon(unsigned short iconId) {
  record_->hIcon = icons_.get(iconId, smallIconPixels(record_->hWnd));
  if (!Shell_NotifyIconA(shown_ ? NIM_MODIFY : NIM_ADD, record_.get())) return false;
  shown_ = true;
  return true;
}

bool CTrayIcon::setTip(const String& text) {
  text.copyToBuffer(record_->szTip, kTipBytes);
  if (!shown_) return true;
  return Shell_NotifyIconA(NIM_MODIFY, record_.get()) != FALSE;
}

void CTrayIcon::remove() {
  if (shown_ && Shell_NotifyIconA(NIM_DELETE, record_.get())) shown_ = false;
}

bool CTrayIcon::handleTaskbarCreated(const WindowMessage& m) {
  if (registeredTaskbarCreated == 0 || m.message != registeredTaskbarCreated) return false;
  // The shell forgets every icon when the taskbar restarts; put ours back if it was showing.
  if (shown_) Shell_NotifyIconA(NIM_ADD, record_.get());
  return true;
}

}  // namespace Ostra
