// When the stand-in keeps out of a real host's way, and how it reads the
// program out of a class's server command.
#include "standin/shadow_rule.h"

#include <gtest/gtest.h>

#include <tuple>

namespace rapporta::standin {
namespace {

// How each command is read, checking as on Windows. Nothing registered, the
// real host alone, and Wine with and without the switch to check all the
// same are the registration test's (host/registration_test.cpp), which
// registers them.
TEST(ShadowRule, StandsAsideOnlyForAnotherProgramInTheMachinesRegistry) {
  const Text own = u"C:\\Tools\\echolink_standin.exe";
  const Text real = u"C:\\Program Files\\EchoLink\\EchoLink.exe";
  const std::tuple<const char*, std::vector<Text>, std::optional<Text>> cases[] = {
      {"ours, after blanks, another case, with the mode switch",
       {u" \t\"c:\\tools\\ECHOLINK_STANDIN.EXE\" /dispinterface"}, std::nullopt},
      {"the real host in one view only", {own, u"\"" + real + u"\" -automation"}, real},
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
  };
  for (const auto& [what, machine, realHost] : cases)
    EXPECT_EQ(RealHostAtStart({false, false, machine, own}), realHost) << what;
}

}  // namespace
}  // namespace rapporta::standin
