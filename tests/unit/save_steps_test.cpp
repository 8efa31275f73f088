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

TEST(SaveLog, NewFileIsWrittenWithTheLogReadAtTheMomentOfWriting) {
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

TEST(SaveLog, CancelStillAsksTheFileSystemAboutAnEmptyNameAndWritesNothing) {
  ScriptedPlatform platform;
  platform.dialogOk = false;
  platform.chosenName = u"";
  platform.exists = true;  // would be asked about, were the name not empty
  SaveLog(platform, [&]() -> Text { ADD_FAILURE() << "log read after a cancel"; return {}; });
  EXPECT_EQ(platform.steps, (Steps{"dialog", "create", "exists", "release"}));
  EXPECT_EQ(platform.askedFor, u"");
}

TEST(SaveLog, FailedDialogWithANameLeftInTheBufferWritesNothing) {
  // A name too long for the buffer makes the dialog fail; whatever it left is
  // looked up and may be asked about, but never written.
  ScriptedPlatform platform;
  platform.dialogOk = false;
  platform.exists = true;
  platform.answer = "YES";
  SaveLog(platform, [] { return Text(u"log"); });
  EXPECT_EQ(platform.steps, (Steps{"dialog", "create", "exists", "ask", "release"}));
}

TEST(SaveLog, ExistingFileIsReplacedOnlyOnYes) {
  for (const char* answer : {"YES", "NO", ""}) {
    ScriptedPlatform platform;
    platform.exists = true;
    platform.answer = answer;
    SaveLog(platform, [] { return Text(u"log"); });
    EXPECT_EQ(platform.prompt, kOverwriteQuestion);
    if (std::string(answer) == "YES") {
      EXPECT_EQ(platform.steps, (Steps{"dialog", "create", "exists", "ask", "write", "release"}));
      EXPECT_EQ(platform.writtenLog, u"log");
    } else {
      EXPECT_EQ(platform.steps, (Steps{"dialog", "create", "exists", "ask", "release"}))
          << "answer '" << answer << "'";
    }
  }
}

TEST(SaveLog, MissingFileSystemObjectFailsEvenAfterACancel) {
  ScriptedPlatform platform;
  platform.dialogOk = false;
  platform.chosenName = u"";
  platform.failCreatingFileSystem = true;
  EXPECT_THROW(SaveLog(platform, [] { return Text(); }), std::runtime_error);
  EXPECT_EQ(platform.steps, (Steps{"dialog", "create"}));
}

TEST(SaveDialogTexts, FilterIsTwoPairsClosedByTwoNuls) {
  const Text expected = Text(u"TXTﾌｧｲﾙ(*.txt)") + u'\0' + u"*.txt" + u'\0' +
                        u"すべてのﾌｧｲﾙ(*.*)" + u'\0' + u"*" + u'\0' + u'\0';
  EXPECT_EQ(Text(kSaveFilter), expected);
  EXPECT_EQ(kSaveTitle, u"ﾌｧｲﾙの保存");
}

}  // namespace
}  // namespace rapporta::save
