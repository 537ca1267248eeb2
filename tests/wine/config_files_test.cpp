#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <cstring>
#include <fstream>
#include <string>

#include "app/settings.h"
#include "app/slot_actions.h"
#include "base/ini_file.h"
#include "base/patch.h"
#include "own_import.h"
#include "slots/assign.h"

namespace artwheel {
namespace {

class ConfigFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    path_ = std::string(temp) + "artwheel_config_test_" + std::to_string(GetCurrentProcessId()) +
            ".ini";
  }
  void TearDown() override { DeleteFileA(path_.c_str()); }
  void Write(const std::string& content) {
    std::ofstream(path_, std::ios::binary | std::ios::trunc) << content;
  }
  std::string ChainPath() {
    char out[kChainPathSize];
    ReadChainPath(path_.c_str(), out, sizeof out);
    return out;
  }
  std::string path_;
};

// From [Chainload] first, else from a line before any section; a path too
// long for its buffer is refused, not cut; the path is the file's text.
TEST_F(ConfigFiles, ChainPathFromItsSectionOrTheScannerAndNeverCut) {
  EXPECT_EQ(ChainPath(), "");  // no file
  Write("chainDInput8dllPath=first.dll\n[Chainload]\nchainDInput8dllPath = second.dll ; old\n");
  EXPECT_EQ(ChainPath(), "second.dll");
  Write("chainDInput8dllPath = \"C:\\My Mods\\x.dll\" # comment\n[General]\nIsDebug=1\n");
  EXPECT_EQ(ChainPath(), "\"C:\\My Mods\\x.dll\"");
  Write("chainDInput8dllPath = b.dll ; comment\nIsDebug=1\n[General]\nOther=1\n");
  EXPECT_EQ(ChainPath(), "b.dll");
  Write("[Chainload]\nchainDInput8dllPath=" + std::string(1500, 'p') + ".dll\n");
  EXPECT_EQ(ChainPath(), "");
  Write("chainDInput8dllPath=" + std::string(1500, 'p') + ".dll\n");
  EXPECT_EQ(ChainPath(), "");

  // The file's text: UTF-8 when all its bytes are, with or without the mark,
  // else the system's ANSI code page; UTF-16 through the profile functions.
  // Either way the library holds it as UTF-8.
  const std::string cjk = "\xE5\x85\xB6\xE4\xBB\x96.dll";  // 其他.dll
  const std::string mark = "\xEF\xBB\xBF";
  Write(mark + "[Chainload]\r\nchainDInput8dllPath=" + cjk + "\r\n");
  EXPECT_EQ(ChainPath(), cjk);
  Write(mark + "chainDInput8dllPath=" + cjk + "\r\n");  // in no section
  EXPECT_EQ(ChainPath(), cjk);
  Write("[Chainload]\r\nchainDInput8dllPath=" + cjk + "\r\n");
  EXPECT_EQ(ChainPath(), cjk);
  const std::u16string wide = u"\uFEFF[Chainload]\r\nchainDInput8dllPath=\u5176\u4ED6.dll\r\n";
  Write(std::string(reinterpret_cast<const char*>(wide.data()), wide.size() * 2));
  EXPECT_EQ(ChainPath(), cjk);
  // A long comment in three-byte characters still leaves the short path whole.
  std::string comment;
  for (int i = 0; i < 4000; ++i) comment += "\xE5\x85\xB6";
  Write(mark + "[Chainload]\r\nchainDInput8dllPath=" + cjk + " ; " + comment + "\r\n");
  EXPECT_EQ(ChainPath(), cjk);
  char ansi[8] = {};
  BOOL lossy = FALSE;
  ASSERT_GT(WideCharToMultiByte(CP_ACP, 0, L"\u00E9", 1, ansi, sizeof ansi - 1, nullptr, &lossy),
            0);
  if (lossy) GTEST_SKIP() << "the code page has no e acute";
  Write(std::string("[Chainload]\r\nchainDInput8dllPath=") + ansi + ".dll\r\n");
  EXPECT_EQ(ChainPath(), "\xC3\xA9.dll");
  Write(std::string("chainDInput8dllPath=") + ansi + ".dll\r\n");
  EXPECT_EQ(ChainPath(), "\xC3\xA9.dll");
}

// The confirmation names what was pressed and why an assignment was not
// saved, in English as it always was, and in the player's language.
TEST(AssignedMessage, SaysWhyTheArtWasNotSaved) {
  char message[kAssignedMessageSize];
  const std::string assigned = "Skill assigned to DPad Down + B";
  const Language en = Language::kEn;
  ASSERT_TRUE(FormatAssignedMessage(en, "DPad Down + B", 0, message));
  EXPECT_EQ(message, assigned);
  for (const unsigned long error : {ERROR_ACCESS_DENIED, ERROR_WRITE_PROTECT}) {
    ASSERT_TRUE(FormatAssignedMessage(en, "DPad Down + B", error, message));
    EXPECT_EQ(message, assigned + " (not saved: artwheel.ini is read-only)");
  }
  ASSERT_TRUE(FormatAssignedMessage(en, "DPad Down + B", ERROR_SHARING_VIOLATION, message));
  EXPECT_EQ(message, assigned + " (not saved: artwheel.ini is in use by another program)");
  ASSERT_TRUE(FormatAssignedMessage(en, "DPad Down + B", ERROR_DISK_FULL, message));
  EXPECT_EQ(message, assigned + " (not saved: error 112)");
  ASSERT_TRUE(FormatAssignedMessage(Language::kDe, "Shift+Q", ERROR_DISK_FULL, message));
  EXPECT_STREQ(message, "Fertigkeit auf Shift+Q gelegt (nicht gespeichert: Fehler 112)");
  ASSERT_TRUE(FormatAssignedMessage(Language::kZhHans, "F1", ERROR_SHARING_VIOLATION, message));
  EXPECT_STREQ(message, "技能已分配至 F1（未保存：artwheel.ini 正被其他程序使用）");
  // A key names itself, not the combination it stands for.
  Settings settings;
  std::strcpy(settings.slotKeys[1].name, "Shift+Q");
  ASSERT_TRUE(FormatConfirmation(settings, 1, SlotTrigger::kKey, en, 0, message));
  EXPECT_STREQ(message, "Skill assigned to Shift+Q");
  ASSERT_TRUE(FormatConfirmation(settings, 1, SlotTrigger::kCombination, en, 0, message));
  EXPECT_STREQ(message, "Skill assigned to DPad Down + A");
  ASSERT_TRUE(FormatConfirmation(settings, 1, SlotTrigger::kKey, Language::kJa, 0, message));
  EXPECT_STREQ(message, "スキルを「Shift+Q」に割り当てました");
}

TEST_F(ConfigFiles, ScannerReadsAFileWithNulBytesAndAHugeLine) {
  Write(std::string("\0\0garbage\n", 10) + std::string(1 << 20, 'x') + "\nIsDebug = on\n");
  char value[32];
  EXPECT_EQ(FindIniKeyAnywhere(path_.c_str(), "IsDebug", value, sizeof value),
            IniScanResult::kFound);
  EXPECT_STREQ(value, "on");
}

// The settings file beside this program, loaded with ApplyChanges on.
// Every test of this suite uses the one settings file beside the test program,
// and ctest runs tests side by side: each holds a named mutex while it runs.
class SettingsReloadFile : public ::testing::Test {
 protected:
  void SetUp() override {
    turn_ = CreateMutexA(nullptr, FALSE, "artwheel-settings-file-tests");
    ASSERT_NE(turn_, nullptr);
    const DWORD waited = WaitForSingleObject(turn_, 60000);
    ASSERT_TRUE(waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED)
        << "waited for the file's turn";
    LocateSettingsFile(GetModuleHandleA(nullptr));
    path_ = ConfigIniPath();
  }
  void TearDown() override {
    if (!path_.empty()) DeleteFileA(path_.c_str());
    if (turn_ != nullptr) {
      ReleaseMutex(turn_);
      CloseHandle(turn_);
    }
  }
  void Write(const std::string& text) {
    std::ofstream(path_, std::ios::binary | std::ios::trunc) << "[General]\r\nApplyChanges=1\r\n"
                                                             << text;
  }
  std::string Text() {
    std::string text;
    std::getline(std::ifstream(path_, std::ios::binary), text, '\0');
    return text;
  }
  // Looks at the file as the worker does, until a change was applied (10 s at most).
  bool Reloaded() {
    for (int tries = 0; tries < 1000; ++tries) {
      if (ReloadConfigIfChanged(settings_, [](const Settings&) {})) return true;
      Sleep(10);
    }
    return false;
  }
  HANDLE turn_ = nullptr;
  std::string path_;
  Settings settings_;
};

// A change seen while another program held the file is read at a later look,
// even when the file's stamp has come back to the one read last: a copy keeps
// its source's write time, and may keep its size.
TEST_F(SettingsReloadFile, AChangeSeenWhileTheFileWasHeldIsReadWhenItsStampComesBack) {
  Write("[Slots]\r\nY=5000\r\n");
  LoadConfig(settings_);
  ASSERT_EQ(settings_.slotArtIds[0], 5000u);
  std::string text = Text();
  FILETIME read = {};
  HANDLE file = CreateFileA(path_.c_str(), GENERIC_READ | FILE_WRITE_ATTRIBUTES,
                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_TRUE(GetFileTime(file, nullptr, nullptr, &read));
  CloseHandle(file);
  std::ofstream(path_, std::ios::binary | std::ios::trunc)
      << text.replace(text.find("Y=5000"), 6, "Y=7300");
  HANDLE held = CreateFileA(path_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(ReloadConfigIfChanged(settings_, [](const Settings&) {}));
  CloseHandle(held);
  file = CreateFileA(path_.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                     nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_TRUE(SetFileTime(file, nullptr, nullptr, &read));
  CloseHandle(file);
  EXPECT_TRUE(Reloaded()) << "waited for the change to be read";
  EXPECT_EQ(settings_.slotArtIds[0], 7300u);
  EXPECT_FALSE(ReloadConfigIfChanged(settings_, [](const Settings&) {}));
}

// Every value an assignment replaced is remembered, not only the first: an
// editor that shows the first assignment, saved after the second, keeps the second.
TEST_F(SettingsReloadFile, AnEditorsCopyOfAnEarlierAssignmentDoesNotUndoTheLastOne) {
  Write("[Slots]\r\nY=5000\r\n");
  LoadConfig(settings_);
  ASSERT_TRUE(SaveSlotArt(0, 5100));
  const std::string editorCopy = Text() + "; saved by an editor\r\n";
  ASSERT_TRUE(SaveSlotArt(0, 7300));
  settings_.slotArtIds[0] = 7300;
  std::ofstream(path_, std::ios::binary | std::ios::trunc) << editorCopy;
  ASSERT_TRUE(Reloaded()) << "waited for the editor's save to be read";
  EXPECT_EQ(settings_.slotArtIds[0], 7300u);
  EXPECT_NE(Text().find("Y=7300"), std::string::npos) << Text();
}

// At a reload a refused value leaves the previous one and a deleted key means
// its default; on/off keys take words.
TEST_F(SettingsReloadFile, RefusedValuesStayDeletedKeysGoBackToTheirDefaultsAndSwitchesTakeWords) {
  Write(
      "[Slots]\r\nB=7300\r\n[SkillPanel]\r\nScale=1.5\r\n[Combination]\r\nEnable=false\r\n"
      "Modifier=LB\r\n");
  LoadConfig(settings_);
  ASSERT_EQ(settings_.slotArtIds[2], 7300u);
  ASSERT_EQ(settings_.heldButton, HeldButton::kLB);
  EXPECT_FALSE(settings_.combinationEnabled);
  Write("[Slots]\r\nB=abc\r\n[SkillPanel]\r\nScale=big\r\n[Combination]\r\nEnable=Yes\r\n");
  ASSERT_TRUE(Reloaded()) << "waited for the edited file to be read";
  EXPECT_EQ(settings_.slotArtIds[2], 7300u);
  EXPECT_EQ(settings_.overlay.layout.scaleMilli, 1500u);
  EXPECT_TRUE(settings_.combinationEnabled);
  EXPECT_EQ(settings_.heldButton, HeldButton::kDpadDown);
}

// An editor's save that lands right after a write of ours, before its stamp
// is read, is read at the next look: the write is redirected here to one that
// lets the "editor" save just after it.
void* realWriteProfile = nullptr;
const char* editorText = nullptr;
const char* editorPath = nullptr;

BOOL WINAPI WriteThenEditorSaves(const wchar_t* section, const wchar_t* key, const wchar_t* value,
                                 const wchar_t* file) {
  using Fn = BOOL(WINAPI*)(const wchar_t*, const wchar_t*, const wchar_t*, const wchar_t*);
  const BOOL written = reinterpret_cast<Fn>(realWriteProfile)(section, key, value, file);
  if (editorText != nullptr) {
    std::ofstream(editorPath, std::ios::binary | std::ios::trunc) << editorText;
    editorText = nullptr;
  }
  return written;
}

TEST_F(SettingsReloadFile, AnEditorsSaveBetweenOurWriteAndOurStampIsRead) {
  Write("[Slots]\r\nY=5000\r\n[Overlay]\r\nEnable=0\r\n");
  LoadConfig(settings_);
  void** entry = OwnKernel32Import("WritePrivateProfileStringW");
  ASSERT_NE(entry, nullptr);
  std::atomic<void*> saved{nullptr};
  ASSERT_TRUE(InPlace(RedirectEntry(entry, reinterpret_cast<void*>(&WriteThenEditorSaves),
                                    TableKind::kImport, &saved)));
  realWriteProfile = saved.load();
  const std::string editor =
      "[General]\r\nApplyChanges=1\r\n[Slots]\r\nY=5100\r\n[Overlay]\r\nEnable=1\r\n";
  editorText = editor.c_str();
  editorPath = path_.c_str();
  const bool savedSlot = SaveSlotArt(1, 6000);
  RedirectEntry(entry, realWriteProfile, TableKind::kImport);
  ASSERT_TRUE(savedSlot);
  ASSERT_TRUE(Reloaded()) << "waited for the editor's save to be read";
  EXPECT_TRUE(settings_.overlayEnabled);
}

TEST(ModuleDirectoryTest, EndsWithTheBackslashOfTheModulesFolder) {
  char folder[kUtf8PathSize];
  ASSERT_TRUE(ModuleDirectory(GetModuleHandleA(nullptr), folder, sizeof folder));
  char exe[MAX_PATH];
  GetModuleFileNameA(nullptr, exe, sizeof exe);
  EXPECT_EQ(std::string(exe).rfind(folder, 0), 0u);
  EXPECT_EQ(std::string(folder).back(), '\\');
  char tiny[8];
  EXPECT_FALSE(ModuleDirectory(GetModuleHandleA(nullptr), tiny, sizeof tiny));  // refused, not cut
  EXPECT_STREQ(tiny, "");
}

}  // namespace
}  // namespace artwheel
