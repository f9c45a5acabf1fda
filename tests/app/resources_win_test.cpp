// The resources linked into this test executable, read back the way the program
// finds them in its own exe: dialog 106 as the dialog manager builds it, the
// stage icons, the version record and the manifest.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "base/string.h"
#include "base/system_library_win.h"
#include "resources/resource.h"
#include "tests/support/icon_picture_win.h"
#include "ui/icon_cache.h"

namespace {

// The names the code uses must carry the documented numbers.
static_assert(IDD_TIMER == 106 && IDI_IDLE == 104 && IDI_RUNNING == 105);
static_assert(IDI_DIGIT9 == 109 && IDI_DIGIT5 == 113 && IDI_DIGIT1 == 117 && IDI_DIGIT0 == 118 && IDI_PAUSED == 119);
static_assert(IDC_START == 1 && IDC_SAVE_TEMPLATE == 1010 && IDC_LOAD_TEMPLATE == 1011 && IDC_BEEP == 1012);
static_assert(IDC_SOUND_ON == 1013 && IDC_SOUND_FILE == 1014 && IDC_SOUND_BROWSE == 1015 && IDC_MESSAGE_ON == 1016);
static_assert(IDC_SAVE_DEFAULT == 1017 && IDC_PROGRAM_ON == 1018 && IDC_PROGRAM_FILE == 1019 && IDC_CANCEL == 1020);
static_assert(IDC_MINIMIZE_AT_START == 1021 && IDC_CLOSE_AT_END == 1022 && IDC_HOURS == 1023 && IDC_MINUTES == 1024);
static_assert(IDC_SECONDS == 1025 && IDC_PROGRAM_BROWSE == 1026 && IDC_MESSAGE_TEXT == 1027);
static_assert(IDC_TIME_OF_DAY == 1028 && IDC_PROGRAM_ARGUMENTS == 1030 && IDC_STATIC == -1);

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kGroup = kChild | BS_GROUPBOX;
constexpr DWORD kLabel = kChild | SS_LEFT;
constexpr DWORD kEdit = kChild | WS_TABSTOP | WS_BORDER;
constexpr DWORD kCheck = kChild | WS_TABSTOP | BS_AUTOCHECKBOX;
constexpr DWORD kButton = kChild | WS_TABSTOP | BS_PUSHBUTTON;

struct ExpectedControl {
  int id;
  const char16_t* className;
  const char16_t* text;
  short x, y, cx, cy;
  DWORD style;
};

// Dialog 106 in template order.
const ExpectedControl kControls[] = {
    {-1, u"Button", u"時間指定", 6, 6, 204, 46, kGroup},
    {1023, u"Edit", u"", 18, 24, 24, 14, kEdit | ES_NUMBER | ES_AUTOHSCROLL},
    {-1, u"Static", u"時", 42, 30, 8, 8, kLabel},
    {1024, u"Edit", u"", 54, 24, 24, 14, kEdit | ES_NUMBER},
    {-1, u"Static", u"分", 78, 30, 8, 8, kLabel},
    {1025, u"Edit", u"", 90, 24, 24, 14, kEdit | ES_NUMBER},
    {-1, u"Static", u"秒", 114, 30, 8, 8, kLabel},
    {1028, u"Button", u"時刻指定モード(&T)", 132, 30, 68, 10, kCheck},
    {-1, u"Button", u"通知方法", 7, 55, 203, 167, kGroup},
    {1016, u"Button", u"メッセージ(&M)", 18, 72, 51, 10, kCheck},
    {1027, u"Edit", u"", 24, 84, 174, 24, kEdit | ES_MULTILINE | ES_WANTRETURN | ES_AUTOHSCROLL | WS_VSCROLL},
    {1012, u"Button", u"ビープ音(&P)", 18, 114, 47, 10, kCheck},
    {1013, u"Button", u"wavファイル(&W)", 18, 132, 57, 10, kCheck},
    {1014, u"Edit", u"", 48, 144, 138, 14, kEdit | ES_AUTOHSCROLL},
    {1015, u"Button", u"...", 186, 144, 12, 14, kButton},
    {1018, u"Button", u"実行ファイル(&E)", 18, 168, 58, 10, kCheck},
    {1019, u"Edit", u"", 48, 180, 138, 14, kEdit | ES_AUTOHSCROLL},
    {1026, u"Button", u"...", 186, 180, 12, 14, kButton},
    {-1, u"Button", u"動作設定", 216, 6, 94, 60, kGroup},
    {1021, u"Button", u"開始時に最小化する", 228, 24, 73, 10, kCheck},
    {1022, u"Button", u"終了時に閉じる", 228, 42, 59, 10, kCheck},
    {1017, u"Button", u"現在の設定をﾃﾞﾌｫﾙﾄにする(&D)", 222, 138, 90, 14, kButton},
    {1010, u"Button", u"ﾃﾝﾌﾟﾚｰﾄとして保存(&S)", 240, 156, 72, 14, kButton},
    {1011, u"Button", u"ﾃﾝﾌﾟﾚｰﾄを読み込み(&R)", 240, 174, 72, 14, kButton},
    {1, u"Button", u"開始(&B)", 264, 192, 48, 14, kChild | WS_TABSTOP | BS_DEFPUSHBUTTON},
    {1020, u"Button", u"中断(&C)", 264, 210, 48, 14, kButton},
    {1030, u"Edit", u"", 48, 198, 138, 14, kEdit | ES_AUTOHSCROLL},
    {-1, u"Static", u"ﾌｧｲﾙ", 24, 150, 22, 8, kLabel},
    {-1, u"Static", u"ﾌｧｲﾙ", 24, 186, 22, 8, kLabel},
    {-1, u"Static", u"引数", 24, 204, 22, 8, kLabel},
};

std::u16string fromWide(const wchar_t* text) { return std::u16string(reinterpret_cast<const char16_t*>(text)); }
const wchar_t* wide(const char16_t* text) { return reinterpret_cast<const wchar_t*>(text); }

// An ASCII key as printable text.
std::string asciiText(const char16_t* text) {
  // Anything beyond ASCII shows as '?'.
  std::string result;
  for (; *text; ++text) result += *text < 0x80 ? static_cast<char>(*text) : '?';
  return result;
}

// Resource names are compared without regard to ASCII case ("BUTTON" and "Button").
std::u16string asciiLower(std::u16string text) {
  for (char16_t& c : text)
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  return text;
}

// The bytes of one resource of this executable; empty when there is none.
std::vector<BYTE> resourceBytes(int id, LPCSTR type) {
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), type);
  if (!found) return {};
  HGLOBAL loaded = LoadResource(module, found);
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data) return {};
  const BYTE* begin = static_cast<const BYTE*>(data);
  return std::vector<BYTE>(begin, begin + SizeofResource(module, found));
}

struct WindowDeleter {
  void operator()(HWND window) const { DestroyWindow(window); }
};
using UniqueWindow = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDeleter>;

INT_PTR CALLBACK idleDialogProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

// Each window as it was created: the dialog manager hands a control the
// template's creation data (none here) as its creation parameter.
struct Creation {
  HWND window;
  void* parameter;
};
Creation creations[64];
size_t creationCount = 0;

LRESULT CALLBACK recordCreation(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND && creationCount < std::size(creations)) {
    const auto* create = reinterpret_cast<const CBT_CREATEWNDW*>(lParam);
    creations[creationCount++] = {reinterpret_cast<HWND>(wParam), create->lpcs->lpCreateParams};
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Dialog 106 as the dialog manager builds it from this executable's template.
UniqueWindow createTimerDialog() {
  creationCount = 0;
  HHOOK hook = SetWindowsHookExW(WH_CBT, recordCreation, nullptr, GetCurrentThreadId());
  UniqueWindow dialog(
      CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_TIMER), nullptr, idleDialogProc, 0));
  if (hook) UnhookWindowsHookEx(hook);
  return dialog;
}

const void* creationParameter(HWND window) {
  for (size_t i = 0; i < creationCount; ++i)
    if (creations[i].window == window) return creations[i].parameter;
  return "not seen";
}

std::vector<HWND> childrenInTabOrder(HWND dialog) {
  std::vector<HWND> children;
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    children.push_back(child);
  return children;
}

std::u16string classNameOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, static_cast<int>(std::size(name)));
  return asciiLower(fromWide(name));
}

std::u16string textOf(HWND window) {
  wchar_t text[128] = {};
  GetWindowTextW(window, text, static_cast<int>(std::size(text)));
  return fromWide(text);
}

DWORD styleOf(HWND window) { return static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)); }
DWORD exStyleOf(HWND window) { return static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE)); }

// The window's styles as the template wrote them.  The system adds some bits
// of its own making and shows an edit's WS_BORDER as the sunken WS_EX_CLIENTEDGE.
struct Styles {
  DWORD style, exStyle;
};
Styles templateStyles(HWND window, DWORD addedStyle, DWORD addedExStyle) {
  Styles styles{styleOf(window) & ~addedStyle, exStyleOf(window) & ~addedExStyle};
  if (styles.exStyle & WS_EX_CLIENTEDGE) {
    styles.exStyle &= ~DWORD{WS_EX_CLIENTEDGE};
    styles.style |= WS_BORDER;
  }
  return styles;
}

TEST(TimerDialogTemplate, FrameMatchesLayout) {
  const std::vector<BYTE> bytes = resourceBytes(IDD_TIMER, RT_DIALOG);
  ASSERT_GE(bytes.size(), 4u) << "no dialog 106";
  WORD header[2];
  std::memcpy(header, bytes.data(), sizeof header);
  EXPECT_EQ(1, header[0]) << "version";
  EXPECT_EQ(0xFFFF, header[1]) << "not an extended template";

  const UniqueWindow dialog = createTimerDialog();
  ASSERT_TRUE(dialog) << "CreateDialogParamW failed, error " << GetLastError();
  // Every top-level window clips its siblings; the modal frame and the caption
  // bring their edges.
  const Styles styles =
      templateStyles(dialog.get(), WS_CLIPSIBLINGS | DS_3DLOOK, WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE);
  EXPECT_EQ(
      DWORD{WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | DS_MODALFRAME | DS_CENTER | DS_SETFONT},
      styles.style)
      << std::hex << "style 0x" << styleOf(dialog.get());
  EXPECT_EQ(DWORD{WS_EX_CONTROLPARENT}, styles.exStyle) << std::hex << "extended style 0x" << exStyleOf(dialog.get());

  RECT wantClient{0, 0, 319, 231};
  MapDialogRect(dialog.get(), &wantClient);
  RECT client{};
  GetClientRect(dialog.get(), &client);
  EXPECT_EQ(wantClient.right, client.right);
  EXPECT_EQ(wantClient.bottom, client.bottom);

  EXPECT_EQ(nullptr, GetMenu(dialog.get())) << "no menu";
  EXPECT_EQ(u"#32770", classNameOf(dialog.get())) << "the system's dialog class";
  EXPECT_EQ(u"", textOf(dialog.get())) << "no title";
  EXPECT_EQ(std::size(kControls), childrenInTabOrder(dialog.get()).size());

  LOGFONTW font{};
  HFONT dialogFont = reinterpret_cast<HFONT>(SendMessageW(dialog.get(), WM_GETFONT, 0, 0));
  ASSERT_TRUE(dialogFont);
  ASSERT_NE(0, GetObjectW(dialogFont, sizeof font, &font));
  EXPECT_EQ(u"MS UI Gothic", fromWide(font.lfFaceName));
  EXPECT_FALSE(font.lfItalic);
  HDC screen = GetDC(nullptr);
  const int pixelsPerInch = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(-MulDiv(9, pixelsPerInch, 72), font.lfHeight) << "9 points";
}

// The dialog manager accepts every control of the template: each is created in
// template order (the tab order) with its id, class, text, place, size and styles.
TEST(TimerDialogTemplate, ControlsMatchLayoutInOrder) {
  const UniqueWindow dialog = createTimerDialog();
  ASSERT_TRUE(dialog) << "CreateDialogParamW failed, error " << GetLastError();
  const std::vector<HWND> children = childrenInTabOrder(dialog.get());
  ASSERT_EQ(std::size(kControls), children.size());
  for (size_t i = 0; i < std::size(kControls); ++i) {
    const ExpectedControl& want = kControls[i];
    HWND item = children[i];
    SCOPED_TRACE(testing::Message() << "control " << i << ", id " << want.id);
    EXPECT_EQ(want.id, static_cast<int32_t>(GetDlgCtrlID(item)));
    if (want.id != -1) {
      EXPECT_EQ(item, GetDlgItem(dialog.get(), want.id));
    }
    EXPECT_EQ(asciiLower(want.className), classNameOf(item));
    EXPECT_EQ(std::u16string(want.text), textOf(item));
    // The dialog manager converts position and size each on its own, so map them apart.
    RECT wantRect{want.x, want.y, want.cx, want.cy};
    MapDialogRect(dialog.get(), &wantRect);
    RECT got{};
    GetWindowRect(item, &got);
    MapWindowPoints(nullptr, dialog.get(), reinterpret_cast<POINT*>(&got), 2);
    EXPECT_EQ(wantRect.left, got.left);
    EXPECT_EQ(wantRect.top, got.top);
    EXPECT_EQ(wantRect.right, got.right - got.left) << "width";
    EXPECT_EQ(wantRect.bottom, got.bottom - got.top) << "height";
    // The dialog manager keeps its controls from telling the dialog of their birth.
    const Styles styles = templateStyles(item, 0, WS_EX_NOPARENTNOTIFY);
    EXPECT_EQ(want.style, styles.style) << std::hex << "style 0x" << styleOf(item) << ", want 0x" << want.style;
    EXPECT_EQ(0u, styles.exStyle) << std::hex << "extended style 0x" << exStyleOf(item);
    EXPECT_EQ(nullptr, creationParameter(item)) << "creation data";
  }
}

// Each label shows its whole text on one line in the dialog's font, as this
// system has it (under Wine, IPA P Gothic stands in for MS UI Gothic).
TEST(TimerDialogTemplate, LabelsFitTheirText) {
  const UniqueWindow dialog = createTimerDialog();
  ASSERT_TRUE(dialog) << "CreateDialogParamW failed, error " << GetLastError();
  HDC dc = GetDC(dialog.get());
  const HGDIOBJ before = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(dialog.get(), WM_GETFONT, 0, 0)));
  int labels = 0;
  for (HWND item : childrenInTabOrder(dialog.get())) {
    if (classNameOf(item) != u"static") continue;
    ++labels;
    const std::u16string text = textOf(item);
    RECT needed{0, 0, 0, 0};
    DrawTextW(dc, wide(text.c_str()), -1, &needed, DT_CALCRECT | DT_SINGLELINE);
    RECT client{};
    GetClientRect(item, &client);
    EXPECT_LE(needed.right, client.right) << Ostra::toUtf8(Ostra::String(text));
  }
  SelectObject(dc, before);
  ReleaseDC(dialog.get(), dc);
  EXPECT_EQ(6, labels);
}

#pragma pack(push, 2)
struct GroupIconEntry {
  BYTE width, height, colorCount, reserved;
  WORD planes, bitCount;
  DWORD bytesInRes;
  WORD id;
};
struct GroupIconHeader {
  WORD reserved, type, count;
};
#pragma pack(pop)

struct IconDeleter {
  void operator()(HICON icon) const { DestroyIcon(icon); }
};
using UniqueIcon = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;

enum class Ink { kBlack, kBlue };

struct ExpectedIcon {
  int id;
  Ink ink;
};

const ExpectedIcon kIcons[] = {
    {104, Ink::kBlack}, {105, Ink::kBlue}, {109, Ink::kBlue}, {110, Ink::kBlue}, {111, Ink::kBlue},
    {112, Ink::kBlue},  {113, Ink::kBlue}, {114, Ink::kBlue}, {115, Ink::kBlue}, {116, Ink::kBlue},
    {117, Ink::kBlue},  {118, Ink::kBlue}, {119, Ink::kBlue},
};

constexpr int kIconSize = 32;
constexpr uint32_t kWhite = 0xFFFFFF, kBlack = 0x000000, kBlue = 0x0000FF;  // 0xRRGGBB as a DIB holds them

// The icon drawn on white: each pixel as 0xRRGGBB, top row first.
std::vector<uint32_t> renderOnWhite(HICON icon) {
  std::vector<uint32_t> picture = Ostra::testing::iconPicture(icon);
  if (!picture.empty()) picture.erase(picture.begin());  // its width
  return picture;
}

// The shape of a rendering: which pixels are not background.
std::vector<bool> inkMask(const std::vector<uint32_t>& pixels) {
  std::vector<bool> mask;
  for (uint32_t pixel : pixels) mask.push_back(pixel != kWhite);
  return mask;
}

// The images of an icon group in its order; none when it is no square icon group.
struct GroupImage {
  int size, bitCount, colorCount;
  std::vector<BYTE> bytes;
};
std::vector<GroupImage> groupImages(int iconId) {
  const std::vector<BYTE> group = resourceBytes(iconId, RT_GROUP_ICON);
  GroupIconHeader header{};
  if (group.size() >= sizeof header) std::memcpy(&header, group.data(), sizeof header);
  if (header.type != 1 || group.size() < sizeof header + header.count * sizeof(GroupIconEntry)) return {};
  std::vector<GroupImage> images;
  for (size_t i = 0; i < header.count; ++i) {
    GroupIconEntry entry;
    std::memcpy(&entry, group.data() + sizeof header + i * sizeof entry, sizeof entry);
    if (entry.width != entry.height) return {};
    images.push_back(
        {entry.width == 0 ? 256 : entry.width, entry.bitCount, entry.colorCount, resourceBytes(entry.id, RT_ICON)});
  }
  return images;
}

// For the displays of 16 colours: the caption and notification area (small) and
// the taskbar (large), 100 to 200 %.
constexpr int kSixteenColourSizes[] = {16, 20, 24, 32, 48};
// With alpha: the same and Explorer's views; 256 is stored as PNG.
constexpr int kAlphaSizes[] = {16, 20, 24, 32, 40, 48, 64, 256};

TEST(StageIcons, EachHoldsSixteenColourAndAlphaImagesAtEverySize) {
  struct Expected {
    int size, bitCount;
  };
  std::vector<Expected> expected;
  for (int size : kSixteenColourSizes) expected.push_back({size, 4});
  for (int size : kAlphaSizes) expected.push_back({size, 32});
  for (const ExpectedIcon& icon : kIcons) {
    const std::vector<GroupImage> images = groupImages(icon.id);
    ASSERT_EQ(expected.size(), images.size()) << "icon " << icon.id;
    for (size_t i = 0; i < expected.size(); ++i) {
      const auto [size, bitCount] = expected[i];
      const GroupImage& image = images[i];
      SCOPED_TRACE(testing::Message() << "icon " << icon.id << ", " << size << " pixels, " << bitCount << " bits");
      EXPECT_EQ(size, image.size);
      EXPECT_EQ(bitCount, image.bitCount);
      EXPECT_EQ(bitCount == 4 ? 16 : 0, image.colorCount);
      if (size == 256) {  // a PNG file (its size is seen when it is drawn below)
        ASSERT_GE(image.bytes.size(), 8u);
        EXPECT_EQ(std::string("\x89PNG\r\n\x1A\n"), std::string(image.bytes.begin(), image.bytes.begin() + 8));
        continue;
      }
      ASSERT_GE(image.bytes.size(), sizeof(BITMAPINFOHEADER));
      BITMAPINFOHEADER bitmap;
      std::memcpy(&bitmap, image.bytes.data(), sizeof bitmap);
      EXPECT_EQ(size, bitmap.biWidth);
      EXPECT_EQ(2 * size, bitmap.biHeight) << "colour bitmap and mask";
      EXPECT_EQ(bitCount, bitmap.biBitCount);
      // header, 16 palette entries (4 bits only), colour rows and 1-bit mask rows,
      // each row of whole 32-bit words
      const size_t palette = bitCount == 4 ? 16 * 4 : 0;
      const size_t colourRow = (size * bitCount / 8 + 3) / 4 * 4, maskRow = (size + 31) / 32 * 4;
      ASSERT_EQ(sizeof bitmap + palette + size * (colourRow + maskRow), image.bytes.size());
      if (bitCount != 32) continue;
      // The alpha channel is used: a clear corner, an opaque glyph.
      const BYTE* pixels = image.bytes.data() + sizeof bitmap;
      size_t opaque = 0;
      for (int p = 0; p < size * size; ++p) opaque += pixels[4 * p + 3] == 255;
      EXPECT_EQ(0, pixels[3]) << "a corner";
      EXPECT_GT(opaque, size_t(size * size / 10));
    }
  }
}

// Luma of 0xRRGGBB, 0 to 255.
int luma(uint32_t pixel) {
  return static_cast<int>((299 * (pixel >> 16 & 0xFF) + 587 * (pixel >> 8 & 0xFF) + 114 * (pixel & 0xFF)) / 1000);
}

// Every image with alpha, drawn on the taskbar of the dark mode and of the light
// one, has a glyph that stands out (its white outline on the dark one), and still
// shows its ink: black for idle, blue for running and the digits.
TEST(StageIcons, AlphaImagesReadOnDarkAndLightTaskbarsInTheirInk) {
  constexpr uint32_t kDark = 0x202020, kLight = 0xEEEEEE;
  for (const ExpectedIcon& icon : kIcons) {
    const std::vector<GroupImage> images = groupImages(icon.id);
    for (size_t i = std::size(kSixteenColourSizes); i < images.size(); ++i) {
      const GroupImage& image = images[i];
      SCOPED_TRACE(testing::Message() << "icon " << icon.id << " at " << image.size);
      std::vector<BYTE> bytes = image.bytes;
      UniqueIcon loaded(CreateIconFromResourceEx(bytes.data(), static_cast<DWORD>(bytes.size()), TRUE, 0x00030000,
                                                 image.size, image.size, LR_DEFAULTCOLOR));
      ASSERT_TRUE(loaded) << "CreateIconFromResourceEx failed, error " << GetLastError();
      for (uint32_t background : {kDark, kLight}) {
        std::vector<uint32_t> picture = Ostra::testing::iconPicture(loaded.get(), background);
        ASSERT_EQ(size_t(image.size) * image.size + 1, picture.size());
        picture.erase(picture.begin());
        size_t standsOut = 0, ink = 0;
        for (uint32_t pixel : picture) {
          standsOut += std::abs(luma(pixel) - luma(background)) >= 128;
          ink += pixel == (icon.ink == Ink::kBlack ? kBlack : kBlue);
        }
        EXPECT_GT(standsOut, picture.size() / 25) << std::hex << "on 0x" << background;
        EXPECT_GT(ink, picture.size() / 20) << std::hex << "on 0x" << background;
        EXPECT_EQ(background, picture.front()) << "the corners are clear";
      }
    }
  }
}

TEST(StageIcons, LoadAt32AndShowTheirGlyphInTheirInk) {
  for (const ExpectedIcon& icon : kIcons) {
    SCOPED_TRACE(testing::Message() << "icon " << icon.id);
    UniqueIcon loaded(static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(icon.id), IMAGE_ICON, kIconSize, kIconSize, 0)));
    ASSERT_TRUE(loaded) << "LoadImageW failed, error " << GetLastError();
    const std::vector<uint32_t> pixels = renderOnWhite(loaded.get());
    ASSERT_EQ(size_t{kIconSize * kIconSize}, pixels.size());
    size_t white = 0, ink = 0, other = 0;
    const uint32_t inkColour = icon.ink == Ink::kBlack ? kBlack : kBlue;
    for (uint32_t pixel : pixels) {
      if (pixel == kWhite)
        ++white;
      else if (pixel == inkColour)
        ++ink;
      else
        ++other;
    }
    EXPECT_EQ(0u, other) << "only the ink and the transparent background";
    // A legible glyph: neither a speck nor a filled square.
    EXPECT_GT(ink, pixels.size() / 20);
    EXPECT_LT(ink, pixels.size() / 2);
    EXPECT_EQ(kWhite, pixels.front()) << "the corners are transparent";
    EXPECT_EQ(kWhite, pixels.back()) << "the corners are transparent";
  }
}

TEST(StageIcons, IdleAndRunningShareTheGlyphAndDigitsDiffer) {
  std::vector<std::vector<bool>> shapes;
  for (const ExpectedIcon& icon : kIcons) {
    UniqueIcon loaded(static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(icon.id), IMAGE_ICON, kIconSize, kIconSize, 0)));
    ASSERT_TRUE(loaded) << "icon " << icon.id;
    shapes.push_back(inkMask(renderOnWhite(loaded.get())));
  }
  EXPECT_EQ(shapes[0], shapes[1]) << "104 and 105 are one glyph in two colours";
  for (size_t i = 1; i < shapes.size(); ++i)
    for (size_t j = i + 1; j < shapes.size(); ++j)
      EXPECT_NE(shapes[i], shapes[j]) << "icons " << kIcons[i].id << " and " << kIcons[j].id;
}

// The notification area's icon comes from LoadIconMetric, found in the version 6
// comctl32 the manifest names: at the system's small size whatever the fallback
// size, loaded once, and kept apart from the images loaded at a size.
TEST(StageIcons, NotificationAreaIconComesAtTheSystemsSmallSize) {
  const int small = GetSystemMetrics(SM_CXSMICON);
  Ostra::CIconCache cache;
  const HICON shown = cache.getSmallMetric(IDI_RUNNING, 3 * small);
  EXPECT_EQ(Ostra::testing::resourcePicture(IDI_RUNNING, small), Ostra::testing::iconPicture(shown));
  EXPECT_EQ(shown, cache.getSmallMetric(IDI_RUNNING, 3 * small));
  EXPECT_NE(shown, cache.get(IDI_RUNNING, small));
}

// The version record's text value under the Japanese Unicode block.
std::u16string versionString(const std::vector<BYTE>& info, const char16_t* key) {
  std::u16string path = u"\\StringFileInfo\\041104B0\\";
  path += key;
  void* value = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(info.data(), wide(path.c_str()), &value, &length) || !value) return u"<missing>";
  return fromWide(static_cast<const wchar_t*>(value));
}

TEST(VersionRecord, CarriesTheBuildVersionAndNames) {
  wchar_t path[MAX_PATH] = {};
  ASSERT_NE(0u, GetModuleFileNameW(nullptr, path, MAX_PATH));
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(path, &ignored);
  ASSERT_NE(0u, size) << "no version record, error " << GetLastError();
  std::vector<BYTE> info(size);
  ASSERT_TRUE(GetFileVersionInfoW(path, 0, size, info.data()));

  unsigned major = 0, minor = 0, patch = 0;
  ASSERT_EQ(3, std::sscanf(KAIRON_EXPECTED_VERSION, "%u.%u.%u", &major, &minor, &patch));

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  ASSERT_GE(length, sizeof *fixed);
  EXPECT_EQ(0xFEEF04BDu, fixed->dwSignature);
  EXPECT_EQ(MAKELONG(minor, major), fixed->dwFileVersionMS);
  EXPECT_EQ(MAKELONG(0, patch), fixed->dwFileVersionLS);
  EXPECT_EQ(MAKELONG(minor, major), fixed->dwProductVersionMS);
  EXPECT_EQ(MAKELONG(0, patch), fixed->dwProductVersionLS);
  EXPECT_EQ(DWORD{VFT_APP}, fixed->dwFileType);

  WORD* translation = nullptr;
  ASSERT_TRUE(
      VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length));
  ASSERT_GE(length, 4u);
  EXPECT_EQ(0x0411, translation[0]) << "Japanese";
  EXPECT_EQ(0x04B0, translation[1]) << "Unicode";

  const std::u16string version = fromWide(L"" KAIRON_EXPECTED_VERSION);
  const struct {
    const char16_t* key;
    std::u16string want;
  } strings[] = {
      {u"ProductName", u"Kairon"},
      {u"ProductVersion", version},
      {u"FileVersion", version},
      {u"FileDescription", u"Kairon タイマー"},
      {u"OriginalFilename", u"Kairon.exe"},
  };
  for (const auto& entry : strings) EXPECT_EQ(entry.want, versionString(info, entry.key)) << asciiText(entry.key);
}

TEST(Manifest, AsksForVisualStylesDpiAwarenessAndNoElevation) {
  const std::vector<BYTE> bytes = resourceBytes(1, RT_MANIFEST);
  ASSERT_FALSE(bytes.empty()) << "no manifest 1";
  const std::string manifest(bytes.begin(), bytes.end());
  const char* const wanted[] = {
      "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"", "<requestedExecutionLevel level=\"asInvoker\"",
      // System-aware where per-monitor v2 is missing, never per-monitor v1.
      ">true</dpiAware>", ">PerMonitorV2, System</dpiAwareness>",
      "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  // Windows 7
      "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  // Windows 8
      "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  // Windows 8.1
      "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",  // Windows 10 and 11
  };
  for (const char* text : wanted) EXPECT_NE(std::string::npos, manifest.find(text)) << text;
}

// The loader applies the manifest to the process: a load of comctl32 is redirected
// to the version 6 assembly.
TEST(Manifest, LoaderRedirectsCommonControlsToVersion6) {
  ACTCTX_SECTION_KEYED_DATA found{};
  found.cbSize = sizeof found;
  ASSERT_TRUE(FindActCtxSectionStringW(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION, L"comctl32.dll", &found))
      << "comctl32 is not redirected, error " << GetLastError();

  SIZE_T size = 0;
  DWORD index = found.ulAssemblyRosterIndex;
  QueryActCtxW(0, found.hActCtx, &index, AssemblyDetailedInformationInActivationContext, nullptr, 0, &size);
  ASSERT_GT(size, 0u);
  std::vector<BYTE> buffer(size);
  ASSERT_TRUE(QueryActCtxW(0, found.hActCtx, &index, AssemblyDetailedInformationInActivationContext, buffer.data(),
                           size, nullptr));
  const auto* assembly = reinterpret_cast<const ACTIVATION_CONTEXT_ASSEMBLY_DETAILED_INFORMATION*>(buffer.data());
  const std::u16string identity = asciiLower(fromWide(assembly->lpAssemblyEncodedAssemblyIdentity));
  EXPECT_NE(std::u16string::npos, identity.find(u"microsoft.windows.common-controls")) << asciiText(identity.c_str());
  EXPECT_NE(std::u16string::npos, identity.find(u"version=\"6.")) << asciiText(identity.c_str());
}

// Both ways of loading from the system folder keep that redirection: a full
// path to the system folder's copy would give version 5.82, without LoadIconMetric.
TEST(Manifest, CommonControlsLoadFollowsTheRedirectionEitherWay) {
  wchar_t system[MAX_PATH] = {};
  const std::wstring systemFolder(system, GetSystemDirectoryW(system, MAX_PATH));
  for (const auto how : {Ostra::SystemFolderLoad::SearchFlag, Ostra::SystemFolderLoad::FullPath}) {
    SCOPED_TRACE(how == Ostra::SystemFolderLoad::SearchFlag ? "search flag" : "full path");
    const HMODULE module = Ostra::loadSideBySide(L"comctl32.dll", how);
    ASSERT_NE(nullptr, module);
    wchar_t path[MAX_PATH] = {};
    const std::wstring file(path, GetModuleFileNameW(module, path, MAX_PATH));
    EXPECT_NE(0, lstrcmpiW(systemFolder.c_str(), file.substr(0, file.find_last_of(L'\\')).c_str()))
        << "the system folder's comctl32, not the assembly's";
    EXPECT_NE(nullptr, reinterpret_cast<void*>(GetProcAddress(module, "LoadIconMetric")));
    FreeLibrary(module);
  }
}

// The manifest makes the process per-monitor DPI aware where the system knows the
// setting (Windows 10 1607 and later); older systems have no such query.
TEST(Manifest, ProcessIsPerMonitorDpiAware) {
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  using ThreadContextFn = HANDLE(WINAPI*)();
  using AwarenessFn = int(WINAPI*)(HANDLE);
  auto threadContext = reinterpret_cast<ThreadContextFn>(
      reinterpret_cast<void*>(GetProcAddress(user32, "GetThreadDpiAwarenessContext")));
  auto awareness = reinterpret_cast<AwarenessFn>(
      reinterpret_cast<void*>(GetProcAddress(user32, "GetAwarenessFromDpiAwarenessContext")));
  if (!threadContext || !awareness) GTEST_SKIP() << "no DPI awareness contexts on this system";
  constexpr int kPerMonitorAware = 2;  // DPI_AWARENESS_PER_MONITOR_AWARE
  EXPECT_EQ(kPerMonitorAware, awareness(threadContext()));
}

}  // namespace
