#include "save/save_steps.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace rapporta::save {
namespace {

// Records the order of the steps and answers as told.
class ScriptedPlatform : public SavePlatform {
 public:
  bool dialogOk = true;
  Text chosenName = u"C:\\logs\\chat.txt";
  bool exists = false;
  std::string answer = "YES";
  bool failCreatingFileSystem = false;

  std::vector<std::string> steps;
  Text askedFor;
  Text prompt;
  Text writtenTarget;
  Text writtenLog;
  std::size_t bufferLength = 0;
  bool bufferWasEmpty = false;
  int liveFileSystems = 0;

  class Files : public FileSystem {
   public:
    explicit Files(ScriptedPlatform& platform) : platform_(platform) {
      ++platform_.liveFileSystems;
    }
    ~Files() override {
      --platform_.liveFileSystems;
      platform_.steps.push_back("release");
    }
    bool FileExists(TextView path) override {
      platform_.steps.push_back("exists");
      platform_.askedFor = Text(path);
      return platform_.exists && !path.empty();
    }

   private:
    ScriptedPlatform& platform_;
  };

  bool ShowSaveDialog(Text& buffer) override {
    steps.push_back("dialog");
    bufferLength = buffer.size();
    bufferWasEmpty = buffer == Text(buffer.size(), u'\0');
    // The dialog leaves the name NUL-terminated in the buffer, rest as it was.
    std::copy(chosenName.begin(), chosenName.end(), buffer.begin());
    return dialogOk;
  }
  std::unique_ptr<FileSystem> CreateFileSystem() override {
    steps.push_back("create");
    if (failCreatingFileSystem) throw std::runtime_error("no FileSystemObject");
    return std::make_unique<Files>(*this);
  }
  void AskYesNo(TextView question, std::string& reply) override {
    steps.push_back("ask");
    prompt = Text(question);
    reply = answer;
  }
  void WriteLogFile(TextView target, TextView log) override {
    steps.push_back(liveFileSystems == 1 ? "write" : "write without file system");
    writtenTarget = Text(target);
    writtenLog = Text(log);
  }
};

using Steps = std::vector<std::string>;

TEST(SaveLog, ANewFileIsWrittenWithTheLogReadAtTheMomentOfWriting) {
  ScriptedPlatform platform;
  int reads = 0;
  SaveLog(platform, [&] {
    ++reads;
    platform.steps.push_back("read");
    return Text(u"\r\n\r\n[12:00]hello");
  });
  EXPECT_EQ(platform.steps, (Steps{"dialog", "create", "exists", "read", "write", "release"}));
  EXPECT_EQ(reads, 1);
  EXPECT_EQ(platform.bufferLength, kFileBufferLength);
  EXPECT_TRUE(platform.bufferWasEmpty);
  EXPECT_EQ(platform.askedFor, u"C:\\logs\\chat.txt");
  EXPECT_EQ(platform.writtenTarget, u"C:\\logs\\chat.txt");
  EXPECT_EQ(platform.writtenLog, u"\r\n\r\n[12:00]hello");
}

TEST(SaveLog, NothingIsWrittenWithoutANameAndAnExistingFileOnlyOnYes) {
  const struct {
    const char* what;
    bool dialogOk;
    Text name;
    bool exists;
    const char* answer;
    Steps steps;
  } cases[] = {
      // The file system is still asked, about an empty name that never exists.
      {"cancel", false, u"", true, "YES", {"dialog", "create", "exists", "release"}},
      // A name too long for the buffer fails the dialog; what it left is
      // looked up and may be asked about, but never written.
      {"failed dialog with a name left", false, u"C:\\x", true, "YES",
       {"dialog", "create", "exists", "ask", "release"}},
      {"existing, yes", true, u"C:\\x", true, "YES",
       {"dialog", "create", "exists", "ask", "write", "release"}},
      {"existing, no", true, u"C:\\x", true, "NO", {"dialog", "create", "exists", "ask", "release"}},
      {"existing, box closed", true, u"C:\\x", true, "",
       {"dialog", "create", "exists", "ask", "release"}},
  };
  for (const auto& c : cases) {
    ScriptedPlatform platform;
    platform.dialogOk = c.dialogOk;
    platform.chosenName = c.name;
    platform.exists = c.exists;
    platform.answer = c.answer;
    SaveLog(platform, [] { return Text(u"log"); });
    EXPECT_EQ(platform.steps, c.steps) << c.what;
    if (!platform.prompt.empty()) {
      EXPECT_EQ(platform.prompt, kOverwriteQuestion) << c.what;
    }
  }
}

TEST(SaveLog, AMissingFileSystemObjectFailsEvenAfterACancel) {
  ScriptedPlatform platform;
  platform.dialogOk = false;
  platform.chosenName = u"";
  platform.failCreatingFileSystem = true;
  EXPECT_THROW(SaveLog(platform, [] { return Text(); }), std::runtime_error);
  EXPECT_EQ(platform.steps, (Steps{"dialog", "create"}));
}

}  // namespace
}  // namespace rapporta::save
