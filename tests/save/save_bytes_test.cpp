// The bytes the save command writes under the system code page that Wine
// takes from the locale the test runs in (set by the build, per executable).
#include <gtest/gtest.h>

#include "save_fixture_win.h"

#ifndef RAPPORTA_EXPECTED_ACP
#error "the build names the code page this test expects"
#endif

namespace rapporta::test {
namespace {

const std::string kBom = "\xEF\xBB\xBF";

struct Sample {
  Text log;
  std::string bytes;
};

#if RAPPORTA_EXPECTED_ACP == 932
const Sample kInCodePage{u"\r\n\r\n[12:00]こんにちは\r\n\r\n[12:01]JA1ABC>ﾃｽﾄ",
                         "\r\n\r\n[12:00]\x82\xb1\x82\xf1\x82\xc9\x82\xbf\x82\xcd"
                         "\r\n\r\n[12:01]JA1ABC>\xc3\xbd\xc4"};
const Sample kOutsideCodePage{u"\r\n\r\n[12:00]日本\U0001F600",
                              kBom + "\r\n\r\n[12:00]\xe6\x97\xa5\xe6\x9c\xac\xf0\x9f\x98\x80"};
#elif RAPPORTA_EXPECTED_ACP == 1252
const Sample kInCodePage{u"\r\n\r\n[12:00]caf\u00e9\r\n\r\n[12:01]N0CALL>5\u20ac",
                         "\r\n\r\n[12:00]caf\xe9\r\n\r\n[12:01]N0CALL>5\x80"};
const Sample kOutsideCodePage{u"\r\n\r\n[12:00]日本",
                              kBom + "\r\n\r\n[12:00]\xe6\x97\xa5\xe6\x9c\xac"};
#endif

TEST_F(SaveTest, LogIsWrittenInTheSystemCodePageWhenItFits) {
  ASSERT_EQ(GetACP(), static_cast<UINT>(RAPPORTA_EXPECTED_ACP));
  Save(Typing(Path(L"fits.txt")), kInCodePage.log);
  EXPECT_EQ(ReadBytes(Path(L"fits.txt")), kInCodePage.bytes);
}

TEST_F(SaveTest, LogIsWrittenAsUtf8WithAMarkWhenACharacterDoesNotFit) {
  ASSERT_EQ(GetACP(), static_cast<UINT>(RAPPORTA_EXPECTED_ACP));
  Save(Typing(Path(L"wide.txt")), kOutsideCodePage.log);
  EXPECT_EQ(ReadBytes(Path(L"wide.txt")), kOutsideCodePage.bytes);
}

}  // namespace
}  // namespace rapporta::test
