#include "save/save_steps.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

namespace rapporta::test {
namespace {

using Steps = std::vector<std::string>;

// Enough to compare: keeps the low byte of each unit.
std::string Narrow(TextView text) { return std::string(text.begin(), text.end()); }

// What the user and the system answer in one save.
struct Script {
  bool dialogOk = true;
  Text name = u"x";
  bool exists = false;
};

// Writes the steps down in order and answers as its script says; the
// question is answered Yes.
class ScriptedPlatform : public save::SavePlatform, public Script {
 public:
  explicit ScriptedPlatform(const Script& script) : Script(script) {}
  Steps steps;

  struct Files : save::FileSystem {
    explicit Files(ScriptedPlatform& platform) : p(platform) {}
    bool FileExists(TextView path) override {
      p.steps.push_back("exists " + Narrow(path));
      return p.exists && !path.empty();
    }
    ScriptedPlatform& p;
  };

  bool ShowSaveDialog(Text& buffer) override {
    steps.push_back(buffer == Text(261, u'\0') ? "dialog" : "dialog on another buffer");
    std::copy(name.begin(), name.end(), buffer.begin());  // the rest is NUL
    return dialogOk;
  }
  std::unique_ptr<save::FileSystem> CreateFileSystem() override {
    return std::make_unique<Files>(*this);
  }
  void AskYesNo(TextView, std::string& reply) override {
    steps.push_back("ask");
    reply = "YES";
  }
  void WriteLogFile(TextView target, TextView log) override {
    steps.push_back("write " + Narrow(log) + " to " + Narrow(target));
  }
};

// The name is what the dialog's buffer holds before its first NUL. Cancel,
// and the question's Yes, No and closing (with its real text), are
// save_command_test's. (The real dialog always ends the name with a NUL, and
// a file-system object that cannot be made is a failure like any other,
// thrown to the handler that reports it.)
TEST(SaveLog, WritesOnlyToAChosenNameAndOverAnExistingFileOnlyOnYes) {
  const std::tuple<const char*, Script, Steps> cases[] = {
      {"a new file, with the log read as it is written", {true, Text(u"x\0y", 3)},
       {"dialog", "exists x", "read", "write log to x"}},
      // A name too long for the buffer fails the dialog; what it left is
      // looked up and may be asked about, but never written.
      {"a failed dialog with a name left", {false, u"x", true}, {"dialog", "exists x", "ask"}},
  };
  for (const auto& [what, script, steps] : cases) {
    ScriptedPlatform platform(script);
    save::SaveLog(platform, [&] {
      platform.steps.push_back("read");
      return Text(u"log");
    });
    EXPECT_EQ(platform.steps, steps) << what;
  }
}

}  // namespace
}  // namespace rapporta::test
