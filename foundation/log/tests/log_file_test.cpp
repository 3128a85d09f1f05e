#include "foundation/log/log_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <new>
#include <sstream>
#include <stdexcept>
#include <string>

#include "foundation/log/caught_exception.h"
#include "foundation/log/log_platform.h"
#include "foundation/paths.h"
#include "foundation/scripted_system.h"

namespace {

std::string LogPath() {
  char path[kPathSize];
  EXPECT_TRUE(GetTemporaryFolder(path, sizeof path));
  AppendToPath(path, kLogFileName);
  return path;
}

std::string LogText() {
  std::ifstream file(LogPath(), std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

void HostTexts(const char** manufacturer, const char** family, const char** product) {
  *manufacturer = "Maker";
  *family = "Family";
  *product = "Product";
}
const LogHostSource kHost = {HostTexts};

class LogFile : public testing::Test {
 protected:
  void SetUp() override {
    for (uint32_t i = 0; i < 6; ++i) system_->strings[kFirstSupportString + i] = "support " + std::to_string(i);
    system_->strings[42] = "forty-two";
    system_->modulePath = "C:\\X\\Y\\file.ds";
    SetLogHostSource(&kHost);
  }
  void TearDown() override { SetLogHostSource(nullptr); }

  // What the source does at MSG_OPENDS and at MSG_CLOSEDS.
  static void OpenSession() {
    LogOpen(true);
    WriteLogHeader();
    LogClose(false);
  }
  static void CloseSession() {
    LogOpen(false);
    LogClose(true);
  }

  ScopedScriptedSystem system_;
};

size_t CountOf(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

TEST_F(LogFile, SessionHoldsTheHeaderThenTheEndMarker) {
  OpenSession();
  std::string header = LogText();
  EXPECT_EQ(header.rfind("*** Quillbrook LOGFILE ***\r\n\r\nsupport 0\r\nsupport 1\r\nsupport 2\r\n\r\nsupport 3\r\n", 0),
            0u);
  EXPECT_NE(header.find("\r\nHost         : Maker, Family, Product\r\n"), std::string::npos);
  EXPECT_NE(header.find("\r\nPath         : C:\\X\\Y\\file.ds\r\n\r\nLocking      : <file.ds>: "), std::string::npos);
  EXPECT_EQ(CountOf(header, "Locking      : "), 4u);
  EXPECT_EQ(header.find("Volume"), std::string::npos);
  EXPECT_EQ(header.substr(header.size() - 4), "\r\n\r\n");

  CloseSession();
  EXPECT_EQ(LogText(), header + "\r\n*** END ***");
  EXPECT_EQ(gLogFile, nullptr);
}

TEST_F(LogFile, EveryOpeningSessionStartsAFreshFile) {
  OpenSession();
  CloseSession();
  OpenSession();
  std::string text = LogText();
  EXPECT_EQ(CountOf(text, "*** Quillbrook LOGFILE ***"), 1u);
  EXPECT_EQ(text.find("*** END ***"), std::string::npos);
}

TEST_F(LogFile, LinesAreAppendedOnlyWhileOpen) {
  LogOpen(true);
  LogLine("one", true);
  LogLine("", true);
  LogLine("two", false);
  LogStringId(42, true);
  LogStringId(43, true);  // no such string: not even a line end
  LogFlush();
  LogClose(false);
  LogLine("dropped", true);
  LogStringId(42, true);
  LogOpen(false);
  LogLine("three", true);
  LogClose(false);
  EXPECT_EQ(LogText(), "one\r\n\r\ntwoforty-two\r\nthree\r\n");
}

TEST_F(LogFile, NothingIsWrittenWhileClosed) {
  LogOpen(true);
  LogClose(false);
  WriteLogHeader();
  LogClose(true);
  EXPECT_EQ(LogText(), "");
}

#ifdef _WIN32
// The drives of the machine are listed only while Shift is held.
TEST_F(LogFile, ShiftAddsTheVolumes) {
  system_->keysDown.insert(0x10);
  OpenSession();
  std::string text = LogText();
  EXPECT_NE(text.find("\r\nVolume       : C:\\ ("), std::string::npos);
  EXPECT_NE(text.find(" free)\r\n\r\nVersion      : "), std::string::npos);
}
#endif

}  // namespace

namespace {

// What a boundary that the host calls does with an exception: a log line, and
// whether the caller is told of a memory shortage or of another failure.
TEST_F(LogFile, CaughtExceptionsAreLoggedWithTheirKind) {
  struct Case {
    void (*raise)();
    bool lowMemory;
    const char* line;
  };
  const Case cases[] = {
      {[] { throw std::bad_alloc(); }, true, "DS_Entry: out of memory\r\n"},
      {[] { throw std::runtime_error("kaputt"); }, false, "DS_Entry: kaputt\r\n"},
      {[] { throw 7; }, false, "DS_Entry: unknown exception\r\n"},
  };
  for (const Case& c : cases) {
    OpenSession();  // the log is closed between calls: the line opens it
    bool lowMemory = !c.lowMemory;
    try {
      c.raise();
    } catch (...) {
      lowMemory = LogCaughtException("DS_Entry");
    }
    EXPECT_EQ(gLogFile, nullptr);
    EXPECT_EQ(lowMemory, c.lowMemory) << c.line;
    EXPECT_NE(LogText().find(c.line), std::string::npos) << LogText();
  }
}

}  // namespace
