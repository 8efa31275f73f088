// The bytes of the saved log for a given system code page, and the write.
#include "save/log_file_win.h"

#include <objbase.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "common/failure.h"
#include "common/text_win.h"
#include "save/file_system_win.h"
#include "common/unique_win.h"
#include "save_fixture_win.h"

namespace rapporta::save {
namespace {

const std::string kBom = "\xEF\xBB\xBF";

TEST(EncodeLog, ShiftJisWhenEveryCharacterHasAForm) {
  EXPECT_EQ(EncodeLog(u"\r\n\r\n[12:00]こんにちは\r\n\r\nJA1ABC>ﾃｽﾄ～", 932),
            "\r\n\r\n[12:00]\x82\xb1\x82\xf1\x82\xc9\x82\xbf\x82\xcd"
            "\r\n\r\nJA1ABC>\xc3\xbd\xc4\x81\x60");
  EXPECT_EQ(EncodeLog(u"", 932), "");
}

TEST(EncodeLog, Utf8WithByteOrderMarkWhenACharacterHasNoForm) {
  EXPECT_EQ(EncodeLog(u"\r\n\r\n日本\U0001F600", 932),
            kBom + "\r\n\r\n\xe6\x97\xa5\xe6\x9c\xac\xf0\x9f\x98\x80");
  // The wave dash only has a best-fit form in Shift-JIS: it would come back
  // as a fullwidth tilde.
  EXPECT_EQ(EncodeLog(u"a\u301C", 932), kBom + "a\xe3\x80\x9c");
  EXPECT_EQ(EncodeLog(u"\r\nこんにちは", 1252),
            kBom + "\r\n\xe3\x81\x93\xe3\x82\x93\xe3\x81\xab\xe3\x81\xa1\xe3\x81\xaf");
}

TEST(EncodeLog, WesternCodePageKeepsItsOwnCharactersAndRefusesBestFit) {
  EXPECT_EQ(EncodeLog(u"caf\u00e9 \u20ac", 1252), "caf\xe9 \x80");
  // a-macron would be written as a plain "a" by a best-fit conversion.
  EXPECT_EQ(EncodeLog(u"\u0101", 1252), kBom + "\xc4\x81");
}

TEST(EncodeLog, Utf8SystemCodePageNeedsNoMarkUnlessTextIsBroken) {
  // UTF-8 as the system code page refuses the best-fit flags.
  EXPECT_EQ(EncodeLog(u"日本\r\n", CP_UTF8), "\xe6\x97\xa5\xe6\x9c\xac\r\n");
  // A lone half of a surrogate pair has no form anywhere.
  EXPECT_EQ(EncodeLog(Text(u"x") + char16_t(0xD800), CP_UTF8), kBom + "x\xef\xbf\xbd");
  EXPECT_EQ(EncodeLog(Text(u"x") + char16_t(0xD800), 932), kBom + "x\xef\xbf\xbd");
}

// What the folder holds, by name: a save leaves the target and nothing else.
std::vector<std::wstring> FilesIn(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found;
  const HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    if (found.cFileName != std::wstring_view(L".") && found.cFileName != std::wstring_view(L".."))
      names.emplace_back(found.cFileName);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return names;
}

const std::vector<std::wstring> kJustTheTarget{L"chat.txt"};

BOOL Refuse(DWORD error) {
  SetLastError(error);
  return FALSE;
}

// Each step of a save made to fail in turn, onto an existing file and onto a
// new name: the old file stays byte for byte, or no file appears, and no
// temporary file is left.
TEST(WriteLogFile, AFailureAtAnyStepLeavesTheOldFileAndNoTemporaryFile) {
  struct Step {
    const char* name;
    const char* operation;  // as reported
    std::function<void(FileCalls&, int& writes)> fail;
    bool newFileToo = true;  // a new name takes no ReplaceFileW
  };
  const auto failWrite = [](int failing, DWORD shortBy) {
    return [failing, shortBy](FileCalls& calls, int& writes) {
      calls.write = [&writes, failing, shortBy](HANDLE file, const char* bytes, DWORD size,
                                                DWORD* written) {
        if (++writes == failing) return Refuse(ERROR_IO_DEVICE);
        // Short writes before it, so the failing one is not the first.
        return WriteFile(file, bytes, std::min(size, shortBy), written, nullptr);
      };
    };
  };
  const Step steps[] = {
      {"creating the temporary file", "CreateFileW",
       [](FileCalls& calls, int&) {
         calls.createNew = [](const std::wstring&, DWORD) {
           Refuse(ERROR_ACCESS_DENIED);
           return INVALID_HANDLE_VALUE;
         };
       }},
      {"the first write", "WriteFile", failWrite(1, MAXDWORD)},
      {"the third write", "WriteFile", failWrite(3, 7)},
      {"a write that writes nothing", "WriteFile",
       [](FileCalls& calls, int&) {
         calls.write = [](HANDLE, const char*, DWORD, DWORD* written) {
           *written = 0;
           return TRUE;
         };
       }},
      {"the flush", "FlushFileBuffers",
       [](FileCalls& calls, int&) { calls.flush = [](HANDLE) { return Refuse(ERROR_IO_DEVICE); }; }},
      {"the swap", "", [](FileCalls& calls, int&) {
         calls.replace = [](auto&, auto&, auto&) { return Refuse(ERROR_SHARING_VIOLATION); };
         calls.move = [](auto&, auto&) { return Refuse(ERROR_ACCESS_DENIED); };
       }},
      {"the swap, the old file already moved aside", "", [](FileCalls& calls, int&) {
         calls.replace = [](const std::wstring& target, auto&, const std::wstring& backup) {
           MoveFileExW(target.c_str(), backup.c_str(), 0);
           return Refuse(ERROR_UNABLE_TO_MOVE_REPLACEMENT_2);
         };
       }, false},
  };
  for (const Step& step : steps) {
    for (const bool existing : {true, false}) {
      if (!existing && !step.newFileToo) continue;
      SCOPED_TRACE(std::string(step.name) + (existing ? ", onto a file" : ", a new file"));
      test::TempFolder folder;
      const std::wstring target = folder.Path(L"chat.txt");
      if (existing) test::WriteBytes(target, "the old log");
      FileCalls calls = SystemFileCalls();
      int writes = 0;
      step.fail(calls, writes);
      try {
        WriteLogFile(FromWide(target), u"\r\n\r\na new log, longer than the old one", calls);
        ADD_FAILURE() << "no failure";
      } catch (const Failure& failure) {
        const std::string swap = existing ? "ReplaceFileW" : "MoveFileExW";
        EXPECT_EQ(failure.Operation(), *step.operation ? step.operation : swap);
      }
      if (existing) {
        EXPECT_EQ(test::ReadBytes(target), "the old log");
        EXPECT_EQ(FilesIn(folder.Name()), kJustTheTarget);
      } else {
        EXPECT_TRUE(FilesIn(folder.Name()).empty());
      }
    }
  }
}

// Replaced when it is hidden or a system file, and stays so; refused when it
// is read-only; written whole either way, nothing else left behind.
TEST(WriteLogFile, ReplacesHiddenAndSystemFilesAndRefusesReadOnlyOnes) {
  struct Target {
    DWORD attributes;
    bool replaced;
  };
  for (const Target target : {Target{0, true}, Target{FILE_ATTRIBUTE_HIDDEN, true},
                              Target{FILE_ATTRIBUTE_SYSTEM, true},
                              Target{FILE_ATTRIBUTE_READONLY, false}}) {
    SCOPED_TRACE(target.attributes);
    test::TempFolder folder;
    const std::wstring name = folder.Path(L"chat.txt");
    test::WriteBytes(name, "old");
    ASSERT_TRUE(SetFileAttributesW(name.c_str(), target.attributes | FILE_ATTRIBUTE_ARCHIVE));
    try {
      WriteLogFile(FromWide(name), u"new");
      EXPECT_TRUE(target.replaced);
    } catch (const Failure& failure) {
      EXPECT_FALSE(target.replaced);
      EXPECT_EQ(failure.Operation(), "ReplaceFileW");
      EXPECT_EQ(failure.Code(), static_cast<std::int32_t>(HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED)));
    }
    EXPECT_EQ(test::ReadBytes(name), target.replaced ? "new" : "old");
    EXPECT_EQ(GetFileAttributesW(name.c_str()) & target.attributes, target.attributes);
    EXPECT_EQ(FilesIn(folder.Name()), kJustTheTarget);
    SetFileAttributesW(name.c_str(), FILE_ATTRIBUTE_NORMAL);
  }
}

// Started again as "--hold <file> <read|all> <event>", this test program is
// another program that holds the file open, sharing it for reading only or
// for everything, until it is ended.
const bool kHolding = [] {
  int count = 0;
  LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count);
  if (count != 5 || args[1] != std::wstring_view(L"--hold")) return false;
  const DWORD share = args[3] == std::wstring_view(L"all")
                          ? FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE
                          : FILE_SHARE_READ;
  if (CreateFileW(args[2], GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr) ==
      INVALID_HANDLE_VALUE) {
    ExitProcess(1);
  }
  SetEvent(OpenEventW(EVENT_MODIFY_STATE, FALSE, args[4]));
  Sleep(INFINITE);
  return true;
}();

TEST(WriteLogFile, AFileAnotherProgramHoldsOpenIsReplacedOnlyIfItSharesIt) {
  for (const bool sharesAll : {false, true}) {
    SCOPED_TRACE(sharesAll ? "shared for everything" : "shared for reading");
    test::TempFolder folder;
    const std::wstring name = folder.Path(L"chat.txt");
    test::WriteBytes(name, "old");
    const std::wstring event = L"RapportaTestHolding" + std::to_wstring(GetCurrentProcessId());
    const UniqueHandle ready(CreateEventW(nullptr, TRUE, FALSE, event.c_str()));
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring command = L"\"" + std::wstring(self) + L"\" --hold \"" + name + L"\" " +
                           (sharesAll ? L"all " : L"read ") + event;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION holder{};
    ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &holder));
    const UniqueHandle process(holder.hProcess), thread(holder.hThread);
    const HANDLE waits[] = {ready.Get(), process.Get()};
    ASSERT_EQ(WaitForMultipleObjects(2, waits, FALSE, 20000), WAIT_OBJECT_0) << "not holding";
    try {
      WriteLogFile(FromWide(name), u"new");
      EXPECT_TRUE(sharesAll);
    } catch (const Failure& failure) {
      EXPECT_FALSE(sharesAll);
      EXPECT_EQ(failure.Operation(), "ReplaceFileW");
    }
    TerminateProcess(process.Get(), 0);
    WaitForSingleObject(process.Get(), 10000);
    EXPECT_EQ(test::ReadBytes(name), sharesAll ? "new" : "old");
    EXPECT_EQ(FilesIn(folder.Name()), kJustTheTarget);
  }
}

TEST(ScriptingFileSystem, FileExistsOnlyForFiles) {
  ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
  {
    test::TempFolder folder;
    const std::wstring file = folder.Path(L"ログ.txt");
    test::WriteBytes(file, "x");
    const auto files = CreateScriptingFileSystem();
    EXPECT_TRUE(files->FileExists(FromWide(file)));
    EXPECT_FALSE(files->FileExists(FromWide(folder.Name())));
    EXPECT_FALSE(files->FileExists(FromWide(folder.Path(L"missing.txt"))));
    EXPECT_FALSE(files->FileExists(u""));
  }
  CoUninitialize();
}

}  // namespace
}  // namespace rapporta::save
