// When the stand-in keeps out of a real host's way.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "standin/shadow_rule.h"

namespace rapporta::standin {
namespace {

std::string Narrow(TextView text) { return std::string(text.begin(), text.end()); }

TEST(ShadowRule, ReadsTheProgramOutOfAServerCommand) {
  const struct {
    TextView command;
    TextView program;
  } cases[] = {
      {u"\"C:\\Program Files\\EchoLink\\EchoLink.exe\" /automation",
       u"C:\\Program Files\\EchoLink\\EchoLink.exe"},
      // Unquoted paths may hold spaces; the program ends at ".exe".
      {u"C:\\Program Files\\EchoLink\\EchoLink.EXE -Automation",
       u"C:\\Program Files\\EchoLink\\EchoLink.EXE"},
      {u"  \"Z:\\b\\echolink_standin.exe\" /dispinterface", u"Z:\\b\\echolink_standin.exe"},
      {u"C:\\tools\\host /x", u"C:\\tools\\host"},
      {u"\"C:\\unterminated", u"C:\\unterminated"},
      {u"", u""},
      {u" \t ", u""},
  };
  for (const auto& c : cases) EXPECT_EQ(ServerPath(c.command), c.program) << Narrow(c.command);
}

TEST(ShadowRule, StandsAsideOnlyForAnotherProgramInTheMachinesRegistry) {
  constexpr TextView kOwn = u"C:\\Tools\\echolink_standin.exe";
  constexpr TextView kReal = u"C:\\Program Files\\EchoLink\\EchoLink.exe";
  const Text realCommand = u"\"" + Text(kReal) + u"\" -automation";
  const struct {
    const char* name;
    bool underWine;
    bool checkAnyway;
    std::vector<Text> machine;
    std::optional<Text> realHost;
  } cases[] = {
      {"nothing registered", false, false, {}, std::nullopt},
      {"ours, another case, with the mode switch", false, false,
       {u"\"c:\\tools\\ECHOLINK_STANDIN.EXE\" /dispinterface"}, std::nullopt},
      {"the real host", false, false, {realCommand}, Text(kReal)},
      {"the real host in one view only", false, false, {Text(kOwn), realCommand}, Text(kReal)},
      {"a class with no local server", false, false, {u""}, Text()},
      {"a copy of ours elsewhere", false, false, {u"D:\\echolink_standin.exe"},
       Text(u"D:\\echolink_standin.exe")},
      // Case beyond ASCII is not folded: such a name counts as another program.
      {"a name that differs beyond ASCII", false, false, {u"C:\\TOOLS\\ÉCHOLINK_STANDIN.EXE"},
       Text(u"C:\\TOOLS\\ÉCHOLINK_STANDIN.EXE")},
      {"a longer name", false, false, {u"\"C:\\Tools\\echolink_standin.exe2\""},
       Text(u"C:\\Tools\\echolink_standin.exe2")},
      {"under Wine", true, false, {realCommand}, std::nullopt},
      {"under Wine, checking as on Windows", true, true, {realCommand}, Text(kReal)},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(RealHostAtStart({c.underWine, c.checkAnyway, c.machine, Text(kOwn)}), c.realHost)
        << c.name;
  }
}

}  // namespace
}  // namespace rapporta::standin
