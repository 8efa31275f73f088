// When the stand-in keeps out of a real host's way, and how it reads the
// program out of a class's server command.
#include "standin/shadow_rule.h"

#include <gtest/gtest.h>

namespace rapporta::standin {
namespace {

TEST(ShadowRule, StandsAsideOnlyForAnotherProgramInTheMachinesRegistry) {
  const Text own = u"C:\\Tools\\echolink_standin.exe";
  const Text real = u"C:\\Program Files\\EchoLink\\EchoLink.exe";
  const Text realCommand = u"\"" + real + u"\" -automation";
  const struct {
    const char* what;
    std::vector<Text> machine;
    std::optional<Text> realHost;
    bool underWine = false;
    bool checkAnyway = false;
  } cases[] = {
      {"nothing registered", {}, std::nullopt},
      {"ours, after blanks, another case, with the mode switch",
       {u" \t\"c:\\tools\\ECHOLINK_STANDIN.EXE\" /dispinterface"}, std::nullopt},
      {"the real host", {realCommand}, real},
      {"the real host in one view only", {own, realCommand}, real},
      // Unquoted paths may hold spaces; the program ends at ".exe".
      {"unquoted", {u"C:\\Program Files\\EchoLink.EXE -Automation"},
       u"C:\\Program Files\\EchoLink.EXE"},
      {"unquoted without .exe: up to a space", {u"C:\\tools\\host /x"}, u"C:\\tools\\host"},
      {"a quote never closed", {u"\"C:\\unterminated"}, u"C:\\unterminated"},
      {"a class with no local server", {u""}, Text()},
      {"a copy of ours elsewhere", {u"D:\\echolink_standin.exe"}, u"D:\\echolink_standin.exe"},
      // Case beyond ASCII is not folded: such a name counts as another program.
      {"a name that differs beyond ASCII", {u"C:\\TOOLS\\ÉCHOLINK_STANDIN.EXE"},
       u"C:\\TOOLS\\ÉCHOLINK_STANDIN.EXE"},
      {"a longer name", {u"\"C:\\Tools\\echolink_standin.exe2\""},
       u"C:\\Tools\\echolink_standin.exe2"},
      {"under Wine", {realCommand}, std::nullopt, true},
      {"under Wine, checking as on Windows", {realCommand}, real, true, true},
  };
  for (const auto& c : cases)
    EXPECT_EQ(RealHostAtStart({c.underWine, c.checkAnyway, c.machine, own}), c.realHost) << c.what;
}

}  // namespace
}  // namespace rapporta::standin
