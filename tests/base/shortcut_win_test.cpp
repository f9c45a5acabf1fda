// Shortcut files as the shell writes them, read back for the question before a launch.
#include <windows.h>

#include <objidl.h>
#include <shobjidl.h>

#include <gtest/gtest.h>

#include "base/platform_win.h"
#include "base/shell.h"
#include "tests/support/temp_dir.h"

namespace {

using Ostra::String;
using Ostra::testing::TempDir;
using Ostra::testing::writeBytes;

TEST(ShortcutWin, TargetArgumentsAndAddress) {
  ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
  TempDir dir;
  {
    IShellLinkW* link = nullptr;
    ASSERT_TRUE(SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                           reinterpret_cast<void**>(&link))));
    link->SetPath(L"C:\\windows\\system32\\stamp.exe");
    link->SetArguments(L"PAYLOAD \u202E x");
    IPersistFile* file = nullptr;
    ASSERT_TRUE(SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))));
    EXPECT_TRUE(SUCCEEDED(file->Save(Ostra::wide(dir.fileString("readme.lnk")), TRUE)));
    file->Release();
    link->Release();
  }
  const auto shortcut = Ostra::readShortcut(dir.fileString("readme.lnk"));
  ASSERT_TRUE(shortcut.has_value());
  EXPECT_EQ(String(u"C:\\windows\\system32\\stamp.exe"), shortcut->target);
  EXPECT_EQ(String(u"PAYLOAD \u202E x"), shortcut->arguments);
  writeBytes(dir.file("not.lnk"), "TimeM = 3\r\n");
  EXPECT_FALSE(Ostra::readShortcut(dir.fileString("not.lnk")).has_value());

  writeBytes(dir.file("page.url"), "[InternetShortcut]\r\nURL=https://example.invalid/run\r\n");
  EXPECT_EQ(String(u"https://example.invalid/run"), Ostra::internetShortcutAddress(dir.fileString("page.url")));
  EXPECT_EQ(String(), Ostra::internetShortcutAddress(dir.fileString("not.lnk")));
  CoUninitialize();
}

}  // namespace
