// The bytes of the saved log for a given system code page, and the write.
#include "save/log_file_win.h"

#include <objbase.h>

#include <gtest/gtest.h>

#include "common/failure.h"
#include "common/text_win.h"
#include "save/file_system_win.h"
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
