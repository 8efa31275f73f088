// The bytes of the saved log: the code page when it holds every character,
// else UTF-8 with a byte-order mark; and the system's code page, which Wine
// takes from the locale the build runs this test in.
#include "save/log_file_win.h"

#include <gtest/gtest.h>

#include <tuple>

#include "common/text_win.h"
#include "support/files_win.h"

namespace rapporta::save {
namespace {

const std::string kBom = "\xEF\xBB\xBF";

TEST(EncodeLog, TheCodePageWhenEveryCharacterHasAFormElseUtf8WithAMark) {
  const std::tuple<Text, UINT, std::string> cases[] = {
      {u"\r\n\r\n[12:00]こんにちは\r\n\r\nJA1ABC>ﾃｽﾄ～", 932,
       "\r\n\r\n[12:00]\x82\xb1\x82\xf1\x82\xc9\x82\xbf\x82\xcd\r\n\r\nJA1ABC>\xc3\xbd\xc4\x81\x60"},
      {u"", 932, ""},
      {u"\r\n\r\n日本\U0001F600", 932, kBom + "\r\n\r\n\xe6\x97\xa5\xe6\x9c\xac\xf0\x9f\x98\x80"},
      // Only a best-fit form: the wave dash would come back as a fullwidth
      // tilde. The round trip that refuses it is the same in every code page.
      {u"a\u301C", 932, kBom + "a\xe3\x80\x9c"},
      // UTF-8 as the system code page needs no mark, unless the text is
      // broken: a lone half of a surrogate pair has no form anywhere.
      {u"日本\r\n", CP_UTF8, "\xe6\x97\xa5\xe6\x9c\xac\r\n"},
      {Text(u"x") + char16_t(0xD800), CP_UTF8, kBom + "x\xef\xbf\xbd"},
  };
  for (const auto& [text, page, bytes] : cases) EXPECT_EQ(EncodeLog(text, page), bytes) << page;
}

TEST(WriteLogFile, WritesInTheSystemCodePage) {
  ASSERT_EQ(GetACP(), static_cast<UINT>(RAPPORTA_EXPECTED_ACP));
  const test::TempFolder folder;
  // Each fits one of the two code pages only.
  for (const Text log : {u"\r\n\r\n[12:00]日本ﾃｽﾄ", u"\r\n\r\n[12:00]café 5€"}) {
    WriteLogFile(FromWide(folder.Path(L"chat.txt")), log);
    EXPECT_EQ(test::ReadBytes(folder.Path(L"chat.txt")), EncodeLog(log, RAPPORTA_EXPECTED_ACP));
  }
}

}  // namespace
}  // namespace rapporta::save
