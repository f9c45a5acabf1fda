// The dialog's own logic, with the system's dialog call replaced: the record it
// builds, the repair-and-retry of a rejected name, failures with chosen error
// codes, the current and the remembered directory.  Both the wide road (NT
// family) and the ANSI road are run.
#include "ui/file_select_dialog.h"

#include <gtest/gtest.h>

#include <cderr.h>

#include <optional>
#include <string>
#include <vector>

#include "base/encoding.h"
#include "base/exception.h"
#include "base/filesystem.h"
#include "base/platform_win.h"
#include "tests/support/string_print.h"
#include "tests/support/temp_dir.h"
#include "ui/file_dialog_calls.h"

namespace Ostra {
namespace {

// How one showing of the system's dialog ends.
struct Answer {
  BOOL result;
  DWORD error;
  std::u16string chosen;  // written into the file field when result is nonzero
};

// What the dialog call was given.
struct Call {
  bool open;
  DWORD structSize;
  HWND owner;
  DWORD flags;
  DWORD maxFile;
  std::optional<String> filter;  // the whole list, its NULs included
  std::string filterBytes;       // the same as given on the ANSI road
  std::optional<String> initialDirectory, title, defaultExtension;
  String name;
  std::string nameBytes;
  String currentDirectory;
  int cursorCountDuring;
};

struct Script {
  std::vector<Answer> answers;
  size_t next = 0;
  DWORD error = 0;
  std::vector<Call> calls;
};

Script* script = nullptr;

String text(const char* bytes) { return defaultEncoding().decode(bytes); }
String text(const wchar_t* units) { return fromWide(units); }

std::optional<String> optionalText(const char* bytes) {
  return bytes ? std::optional<String>(text(bytes)) : std::nullopt;
}
std::optional<String> optionalText(const wchar_t* units) {
  return units ? std::optional<String>(text(units)) : std::nullopt;
}

// A list of NUL-ended items ended by an empty one, in units of Unit.
template <typename Unit>
size_t listLength(const Unit* list) {
  size_t n = 0;
  while (list[n] != 0 || list[n + 1] != 0) ++n;
  return n + 2;
}

void noteFilter(Call& call, const char* filter) {
  if (!filter) return;
  call.filterBytes.assign(filter, listLength(filter));
  call.filter = defaultEncoding().decode(call.filterBytes);
}

void noteFilter(Call& call, const wchar_t* filter) {
  if (filter) call.filter = fromWide(filter, static_cast<int>(listLength(filter)));
}

void choose(OPENFILENAMEA& record, const std::u16string& path) {
  const size_t n = defaultEncoding().encode(path).copy(record.lpstrFile, record.nMaxFile - 1);
  record.lpstrFile[n] = '\0';
}

void choose(OPENFILENAMEW& record, const std::u16string& path) { wcscpy(record.lpstrFile, wide(path)); }

// The thread's cursor display count.
int cursorCount() {
  const int raised = ShowCursor(TRUE);
  ShowCursor(FALSE);
  return raised - 1;
}

template <typename Record>
BOOL fakeShow(bool open, Record* record) {
  Call call{open,
            record->lStructSize,
            record->hwndOwner,
            record->Flags,
            record->nMaxFile,
            std::nullopt,
            {},
            optionalText(record->lpstrInitialDir),
            optionalText(record->lpstrTitle),
            optionalText(record->lpstrDefExt),
            text(record->lpstrFile),
            {},
            currentDirectory(),
            0};
  if constexpr (sizeof *record->lpstrFile == 1) call.nameBytes = record->lpstrFile;
  noteFilter(call, record->lpstrFilter);
  call.cursorCountDuring = cursorCount();
  script->calls.push_back(call);
  const Answer answer = script->next < script->answers.size() ? script->answers[script->next++] : Answer{0, 0, {}};
  script->error = answer.error;
  if (answer.result) choose(*record, answer.chosen);
  return answer.result;
}

BOOL WINAPI fakeOpenA(LPOPENFILENAMEA record) { return fakeShow(true, record); }
BOOL WINAPI fakeSaveA(LPOPENFILENAMEA record) { return fakeShow(false, record); }
BOOL WINAPI fakeOpenW(LPOPENFILENAMEW record) { return fakeShow(true, record); }
BOOL WINAPI fakeSaveW(LPOPENFILENAMEW record) { return fakeShow(false, record); }
DWORD WINAPI fakeError() { return script->error; }
bool wideRoad() { return true; }
bool ansiRoad() { return false; }

// The dialog calls replaced for one test, answering from a script.
class FakeDialog {
 public:
  explicit FakeDialog(bool wide, std::vector<Answer> answers = {}) : saved_(fileDialogCalls()) {
    script_.answers = std::move(answers);
    script = &script_;
    fileDialogCalls() =
        FileDialogCalls{wide ? &wideRoad : &ansiRoad, &fakeOpenA, &fakeSaveA, &fakeOpenW, &fakeSaveW, &fakeError};
  }
  ~FakeDialog() {
    fileDialogCalls() = saved_;
    script = nullptr;
  }
  FakeDialog(const FakeDialog&) = delete;
  FakeDialog& operator=(const FakeDialog&) = delete;

  const std::vector<Call>& calls() const { return script_.calls; }

 private:
  FileDialogCalls saved_;
  Script script_;
};

// A literal with NULs inside, up to its last written unit.
template <typename Unit, size_t N>
std::basic_string<Unit> list(const Unit (&literal)[N]) {
  return std::basic_string<Unit>(literal, N - 1);
}

const char* road(bool wide) { return wide ? "wide" : "ANSI"; }

TEST(FileSelectDialog, UnsetTextsAreNullAndTheFlagsFixed) {
  for (const bool wide : {true, false}) {
    FakeDialog fake(wide);
    CFileSelectDialog dialog;
    dialog.setDefaultExtension(u"");
    EXPECT_FALSE(dialog.showOpen());
    EXPECT_FALSE(dialog.showSave());
    ASSERT_EQ(2u, fake.calls().size());
    for (const Call& call : fake.calls()) {
      EXPECT_EQ(wide ? OPENFILENAME_SIZE_VERSION_400W : OPENFILENAME_SIZE_VERSION_400A, call.structSize);
      EXPECT_EQ(nullptr, call.owner);
      // Save As does not take OFN_FILEMUSTEXIST (0x1000).
      EXPECT_EQ(call.open ? 0xA01806u : 0xA00806u, call.flags) << road(wide);
      EXPECT_EQ(8192u, call.maxFile);
      EXPECT_FALSE(call.filter) << road(wide);
      EXPECT_FALSE(call.initialDirectory) << road(wide);
      EXPECT_FALSE(call.title) << road(wide);
      EXPECT_FALSE(call.defaultExtension) << road(wide);
      EXPECT_EQ(String(), call.name);
    }
    EXPECT_TRUE(fake.calls()[0].open);
    EXPECT_FALSE(fake.calls()[1].open);
  }
}

TEST(FileSelectDialog, SettingsReachTheRecord) {
  for (const bool wide : {true, false}) {
    FakeDialog fake(wide);
    HWND owner = GetDesktopWindow();
    CFileSelectDialog dialog;
    dialog.setOwner(owner);
    dialog.setTitle(u"テンプレートを開く");
    dialog.addFilter(u"Wave File", u"*.wav");
    dialog.addFilter(u"All Files", u"*.*");
    dialog.setFileName(u"x.wav");
    for (const char16_t* extension : {u".tpt", u"tpt"}) {
      dialog.setDefaultExtension(extension);
      dialog.showOpen();
    }
    ASSERT_EQ(2u, fake.calls().size());
    for (const Call& call : fake.calls()) {
      EXPECT_EQ(owner, call.owner);
      EXPECT_EQ(String(u"テンプレートを開く"), call.title.value_or(u"(null)"));
      EXPECT_EQ(String(u"tpt"), call.defaultExtension.value_or(u"(null)")) << road(wide);
      EXPECT_EQ(String(list(u"Wave File (*.wav)\0*.wav\0All Files (*.*)\0*.*\0\0")), call.filter.value_or(u"(null)"))
          << road(wide);
    }
    if (!wide) {
      EXPECT_EQ(list("Wave File (*.wav)\0*.wav\0All Files (*.*)\0*.*\0\0"), fake.calls()[0].filterBytes);
    }
    // The suggested name goes with one show only.
    EXPECT_EQ(String(u"x.wav"), fake.calls()[0].name);
    EXPECT_EQ(String(), fake.calls()[1].name);

    dialog.clearFilters();
    dialog.showSave();
    EXPECT_FALSE(fake.calls().back().filter) << road(wide);
    dialog.addFilter(u"テンプレート", u"*.tpt");
    dialog.showSave();
    EXPECT_EQ(String(list(u"テンプレート (*.tpt)\0*.tpt\0\0")), fake.calls().back().filter.value_or(u""));
  }
}

TEST(FileSelectDialog, RejectedNameIsRepairedOnceAndShownAgain) {
  const struct {
    const char16_t* name;
    const char16_t* shownAgain;
  } cases[] = {
      {u"a:b*c", u"a:b-c"},
      {u"abc:d", u"abc-d"},
      {u"ソ表<新>.tpt", u"ソ表-新-.tpt"},  // second bytes 0x5C stay
      {u"\"q\"|p?", u"-q--p-"},
  };
  for (const bool wide : {true, false}) {
    for (const auto& c : cases) {
      FakeDialog fake(wide, {{0, FNERR_INVALIDFILENAME, {}}, {0, 0, {}}});
      CFileSelectDialog dialog;
      dialog.setFileName(c.name);
      EXPECT_FALSE(dialog.showSave());
      ASSERT_EQ(2u, fake.calls().size());
      EXPECT_EQ(String(c.name), fake.calls()[0].name) << road(wide);
      EXPECT_EQ(String(c.shownAgain), fake.calls()[1].name) << road(wide) << " " << toUtf8(c.name);
      if (!wide) {
        EXPECT_EQ(defaultEncoding().encode(c.shownAgain), fake.calls()[1].nameBytes);
      }
    }
  }
}

TEST(FileSelectDialog, RepairKeepsCharactersOutsideTheCodePageOnTheWideRoad) {
  FakeDialog fake(true, {{0, FNERR_INVALIDFILENAME, {}}, {1, 0, u"C:\\d\\\u0100-\U0001F375.wav"}});
  CFileSelectDialog dialog;
  dialog.setFileName(u"\u0100*\U0001F375.wav");
  ASSERT_TRUE(dialog.showSave());
  EXPECT_EQ(String(u"\u0100-\U0001F375.wav"), fake.calls()[1].name);
  EXPECT_EQ(String(u"C:\\d\\\u0100-\U0001F375.wav"), dialog.results().at(0));
}

TEST(FileSelectDialog, FailureThrowsWithTheDecimalCode) {
  const struct {
    std::vector<Answer> answers;
    size_t calls;
    const char16_t* message;
  } cases[] = {
      {{{0, FNERR_INVALIDFILENAME, {}}, {0, FNERR_INVALIDFILENAME, {}}},
       2,
       u"なんかエラーっぽいです。エラーコード：12290"},
      {{{0, CDERR_INITIALIZATION, {}}}, 1, u"なんかエラーっぽいです。エラーコード：2"},
      {{{0, FNERR_BUFFERTOOSMALL, {}}}, 1, u"なんかエラーっぽいです。エラーコード：12291"},
      {{{0, FNERR_INVALIDFILENAME, {}}, {0, FNERR_BUFFERTOOSMALL, {}}},
       2,
       u"なんかエラーっぽいです。エラーコード：12291"},
  };
  for (const bool wide : {true, false}) {
    for (size_t i = 0; i < std::size(cases); ++i) {
      FakeDialog fake(wide, cases[i].answers);
      CFileSelectDialog dialog;
      dialog.setFileName(u"a*b");
      try {
        dialog.showOpen();
        ADD_FAILURE() << "no exception, case " << i;
      } catch (const RuntimeException& e) {
        EXPECT_EQ(RuntimeException(cases[i].message).what(), std::string(e.what())) << "case " << i;
      }
      EXPECT_EQ(cases[i].calls, fake.calls().size()) << road(wide) << " case " << i;
    }
  }
}

TEST(FileSelectDialog, CurrentDirectoryIsTheInitialOneDuringTheShowAndRestoredAfterwards) {
  testing::TempDir dir;
  std::filesystem::create_directories(dir.file("start"));
  std::filesystem::create_directories(dir.file("initial"));
  const String start = dir.fileString("start");
  const String initial = dir.fileString("initial") + u"\\";
  const struct {
    Answer answer;
    bool throws;
  } cases[] = {
      {{1, 0, u"C:\\x\\y.wav"}, false},
      {{0, 0, {}}, false},
      {{0, CDERR_INITIALIZATION, {}}, true},
  };
  const String saved = currentDirectory();
  for (const bool wide : {true, false}) {
    for (size_t i = 0; i < std::size(cases); ++i) {
      ASSERT_TRUE(setCurrentDirectory(start));
      FakeDialog fake(wide, {cases[i].answer});
      CFileSelectDialog dialog;
      dialog.setInitialDirectory(initial);
      if (cases[i].throws)
        EXPECT_THROW(dialog.showOpen(), RuntimeException);
      else
        dialog.showOpen();
      ASSERT_EQ(1u, fake.calls().size());
      EXPECT_EQ(dir.fileString("initial"), fake.calls()[0].currentDirectory) << road(wide) << " case " << i;
      EXPECT_EQ(initial, fake.calls()[0].initialDirectory.value_or(u"(null)"));
      EXPECT_EQ(start, currentDirectory()) << road(wide) << " case " << i;
    }
  }
  setCurrentDirectory(saved);
}

TEST(FileSelectDialog, CursorIsShownTwiceMoreOnlyWhileTheDialogRuns) {
  FakeDialog fake(true);
  const int before = cursorCount();
  CFileSelectDialog dialog;
  dialog.showOpen();
  ASSERT_EQ(1u, fake.calls().size());
  EXPECT_EQ(before + 2, fake.calls()[0].cursorCountDuring);
  EXPECT_EQ(before, cursorCount());
}

TEST(FileSelectDialog, SuccessIsRememberedAndCancelChangesNothing) {
  for (const bool wide : {true, false}) {
    FakeDialog fake(wide, {{1, 0, u"D:\\x\\y.wav"}, {0, 0, {}}, {0, 0, {}}});
    CFileSelectDialog dialog;
    EXPECT_TRUE(dialog.results().empty());
    ASSERT_TRUE(dialog.showOpen());
    ASSERT_EQ(1u, dialog.results().size());
    EXPECT_EQ(String(u"D:\\x\\y.wav"), dialog.results()[0]);
    // Stored without asking whether it exists.
    EXPECT_EQ(String(u"D:\\x\\"), dialog.initialDirectory());

    dialog.setFileName(u"z.wav");
    EXPECT_FALSE(dialog.showOpen());
    ASSERT_EQ(1u, dialog.results().size());
    EXPECT_EQ(String(u"D:\\x\\y.wav"), dialog.results()[0]);
    EXPECT_FALSE(dialog.showOpen());
    ASSERT_EQ(3u, fake.calls().size());
    EXPECT_EQ(String(u"D:\\x\\"), fake.calls()[1].initialDirectory.value_or(u"(null)")) << road(wide);
    EXPECT_EQ(String(u"z.wav"), fake.calls()[1].name);
    EXPECT_EQ(String(), fake.calls()[2].name) << "the suggested name was used up";
    EXPECT_EQ(String(u"D:\\x\\"), fake.calls()[2].initialDirectory.value_or(u"(null)"));
  }
}

TEST(FileSelectDialog, InitialDirectoryIsTheNearestThatExists) {
  testing::TempDir dir;
  std::filesystem::create_directories(dir.file("Music"));
  const String music = dir.fileString("Music");
  const struct {
    String path;
    String want;
  } cases[] = {
      {music + u"\\old\\x.wav", music + u"\\"},
      {music, music},
      {music + u"\\", music + u"\\"},
      {u"Q:\\nothing\\x.wav", u""},
  };
  for (const auto& c : cases) {
    CFileSelectDialog dialog;
    dialog.setInitialDirectory(c.path);
    EXPECT_EQ(c.want, dialog.initialDirectory()) << toUtf8(c.path);
  }
}

TEST(FileSelectDialog, LongSuggestedNameIsCutToTheField) {
  const struct {
    bool wide;
    std::u16string name;
    std::u16string shown;
  } cases[] = {
      {true, std::u16string(9000, u'a'), std::u16string(8191, u'a')},
      {false, std::u16string(9000, u'a'), std::u16string(8191, u'a')},
      {true, std::u16string(8190, u'a') + u"\U0001F375", std::u16string(8190, u'a')},  // no half pair
      {false, std::u16string(4100, u'あ'), std::u16string(4095, u'あ')},               // no half character
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    if (!cases[i].wide && defaultEncoding().encode(String(u"あ")).size() != 2) continue;
    FakeDialog fake(cases[i].wide);
    CFileSelectDialog dialog;
    dialog.setFileName(cases[i].name);
    dialog.showOpen();
    ASSERT_EQ(1u, fake.calls().size());
    EXPECT_EQ(String(cases[i].shown), fake.calls()[0].name) << "case " << i;
  }
}

}  // namespace
}  // namespace Ostra
