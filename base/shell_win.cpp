// windows.h (through platform_win.h) must come before shellapi.h.
#include "base/platform_win.h"

#include <objidl.h>
#include <shellapi.h>
#include <shobjidl.h>

#include <exception>
#include <memory>
#include <vector>

#include "base/call_form.h"
#include "base/encoding.h"
#include "base/environment.h"
#include "base/shell.h"
#include "base/system_library_win.h"

namespace Ostra {

namespace {

// ShellExecute gives a value above 32 on success and an error code otherwise;
// a shell32 that cannot be loaded gives null.
const SystemFunction<decltype(ShellExecuteW)> shellExecuteW{shell32Library, "ShellExecuteW", nullptr};
const SystemFunction<decltype(ShellExecuteA)> shellExecuteA{shell32Library, "ShellExecuteA", nullptr};

const SystemFunction<decltype(CoCreateInstance)> coCreateInstance{ole32Library, "CoCreateInstance", E_FAIL};

bool started(HINSTANCE result) { return reinterpret_cast<INT_PTR>(result) > 32; }

bool open(const String& file, const String* parameters, int showCommand) {
  if (file.length() > kMaxShellFileLength) return false;
  if (useWideCalls()) {
    return started(
        shellExecuteW(nullptr, L"open", wide(file), parameters ? wide(*parameters) : nullptr, nullptr, showCommand));
  }
  const std::string narrowFile = defaultEncoding().encode(file);
  const std::string narrowParameters = parameters ? defaultEncoding().encode(*parameters) : std::string();
  return started(shellExecuteA(nullptr, "open", narrowFile.c_str(), parameters ? narrowParameters.c_str() : nullptr,
                               nullptr, showCommand));
}

// The parts of a list such as PATH, without empty ones.
std::vector<String> listParts(const String& list) {
  std::vector<String> parts;
  int start = 0;
  for (int i = 0; i <= list.length(); ++i) {
    if (i < list.length() && list[i] != u';') continue;
    if (i > start) parts.push_back(list.substring(start, i - start));
    start = i + 1;
  }
  return parts;
}

String environmentValue(const wchar_t* name) {
  const DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
  if (size == 0) return String();
  std::vector<wchar_t> buffer(size);
  const DWORD n = GetEnvironmentVariableW(name, buffer.data(), size);
  return n == 0 || n >= size ? String() : fromWide(buffer.data(), static_cast<int>(n));
}

String systemFolder(UINT(WINAPI* get)(LPWSTR, UINT)) {
  wchar_t folder[MAX_PATH];
  const UINT n = get(folder, MAX_PATH);
  return n == 0 || n >= MAX_PATH ? String() : fromWide(folder, static_cast<int>(n));
}

// The stored target when the shortcut keeps one; SLGP_RAWPATH keeps its
// references to be expanded here, as the shell expands them when it starts it.
String shortcutPath(IShellLinkW* link) {
  std::vector<wchar_t> buffer(32768);
  if (link->GetPath(buffer.data(), static_cast<int>(buffer.size()), nullptr, SLGP_RAWPATH) != S_OK) return String();
  buffer.back() = L'\0';
  try {
    return expandEnvironment(fromWide(buffer.data()));
  } catch (const std::exception&) {
    return fromWide(buffer.data());
  }
}

// Releases a COM interface when it goes.
template <typename Interface>
struct ComReleaser {
  void operator()(Interface* object) const { object->Release(); }
};
template <typename Interface>
using ComPointer = std::unique_ptr<Interface, ComReleaser<Interface>>;

}  // namespace

std::vector<String> programSearchFolders() {
  std::vector<String> folders{systemFolder(GetWindowsDirectoryW), systemFolder(GetSystemDirectoryW)};
  for (const String& folder : listParts(environmentValue(L"PATH"))) folders.push_back(folder);
  return folders;
}

std::vector<String> programExtensions() {
  const std::vector<String> listed = listParts(environmentValue(L"PATHEXT"));
  return listed.empty() ? listParts(u".COM;.EXE;.BAT;.CMD") : listed;
}

std::optional<ShortcutTarget> readShortcut(const String& file) {
  void* created = nullptr;
  if (FAILED(coCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, &created))) {
    return std::nullopt;
  }
  const ComPointer<IShellLinkW> link(static_cast<IShellLinkW*>(created));
  void* persisted = nullptr;
  if (FAILED(link->QueryInterface(IID_IPersistFile, &persisted))) return std::nullopt;
  const ComPointer<IPersistFile> persist(static_cast<IPersistFile*>(persisted));
  if (FAILED(persist->Load(wide(file), STGM_READ))) return std::nullopt;
  ShortcutTarget shortcut;
  shortcut.target = shortcutPath(link.get());
  // INFOTIPSIZE bounds what a shortcut keeps; a Unicode one may keep more.
  std::vector<wchar_t> arguments(32768);
  if (SUCCEEDED(link->GetArguments(arguments.data(), static_cast<int>(arguments.size())))) {
    arguments.back() = L'\0';
    shortcut.arguments = fromWide(arguments.data());
  }
  return shortcut;
}

String internetShortcutAddress(const String& file) {
  std::vector<wchar_t> buffer(32768);
  const DWORD n = GetPrivateProfileStringW(L"InternetShortcut", L"URL", L"", buffer.data(),
                                           static_cast<DWORD>(buffer.size()), wide(file));
  return fromWide(buffer.data(), static_cast<int>(n));
}

bool shellOpen(const String& file, int showCommand) { return open(file, nullptr, showCommand); }

bool shellOpen(const String& file, const String& parameters, int showCommand) {
  return open(file, &parameters, showCommand);
}

}  // namespace Ostra
