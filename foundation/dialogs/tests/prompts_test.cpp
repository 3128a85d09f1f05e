// The prompt seam and the alerts: what is asked, what the answer does, and
// the nesting switch that silences alerts.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <cstring>

#include "foundation/dialogs/alerts.h"
#include "foundation/dialogs/testing/scoped_prompts.h"
#include "foundation/dialogs/user_prompts.h"
#include "foundation/scripted_system.h"

namespace {

class Alerts : public ::testing::Test {
 protected:
  Alerts() {
    system_->strings[100] = "Fehler";
    system_->strings[500] = "Warnung";
    system_->strings[501] = "Eine Resource mit gleichem Namen ist bereits vorhanden.\n\nErsetzen ?";
    system_->strings[108] = "Fehler bei Scan Start.";
    system_->strings[104] = " Option ist offen.";
  }
  ~Alerts() override { gAlertNesting = 0; }
  ScopedScriptedSystem system_;
};

TEST_F(Alerts, ShowAlertAsksAStopBoxWithTheStringTableTexts) {
  ScopedPrompts prompts;
  prompts.Reply(kAnswerNo);
  EXPECT_EQ(ShowAlert(nullptr, 500, 501, true, nullptr), kAnswerNo);
  const PromptRequest& asked = prompts.Asked(0);
  EXPECT_EQ(asked.kind, PromptKind::kMessageBox);
  EXPECT_EQ(asked.title, "Warnung");
  EXPECT_EQ(asked.text, "Eine Resource mit gleichem Namen ist bereits vorhanden.\n\nErsetzen ?");
  EXPECT_EQ(asked.titleId, 500u);
  EXPECT_EQ(asked.textId, 501u);
  EXPECT_EQ(asked.style, kBoxIconStop | kBoxYesNo);
}

TEST_F(Alerts, ShowErrorJoinsTheTextsThatLoad) {
  ScopedPrompts prompts;
  prompts.Reply(kAnswerOk).Reply(kAnswerOk);
  EXPECT_EQ(ShowError(nullptr, 100, 108, 0, 104, 999), kAnswerOk);
  EXPECT_EQ(prompts.Asked(0).text, "Fehler bei Scan Start. Option ist offen.");
  EXPECT_EQ(prompts.Asked(0).style, kBoxIconStop | kBoxOk);
  std::string longText(200, 'x');
  system_->strings[1] = longText;
  system_->strings[2] = longText;
  ShowError(nullptr, 0, 1, 2, 0, 0);
  EXPECT_EQ(prompts.Asked(1).title, "");
  EXPECT_EQ(prompts.Asked(1).text.size(), 255u) << "the joined text stays within 255 characters";
}

TEST_F(Alerts, ShowAlertTextTakesTheTextAsGiven) {
  ScopedPrompts prompts;
  prompts.Reply(kAnswerOk);
  ShowAlertText(nullptr, 100, "Datei fehlt");
  EXPECT_EQ(prompts.Asked(0).title, "Fehler");
  EXPECT_EQ(prompts.Asked(0).text, "Datei fehlt");
}

TEST_F(Alerts, NestedSuppressionSilencesUntilTheLastRelease) {
  ScopedPrompts prompts;
  SuppressAlerts(true);
  SuppressAlerts(true);  // a job run inside a batch run
  SuppressAlerts(false);
  EXPECT_EQ(ShowAlert(nullptr, 100, 108, false, nullptr), 0);
  EXPECT_EQ(ShowError(nullptr, 100, 108, 0, 0, 0), 0);
  EXPECT_EQ(ShowAlertText(nullptr, 100, "x"), 0);
  EXPECT_TRUE(prompts.Asked().empty()) << "nothing is shown while suppressed";
  SuppressAlerts(false);
  prompts.Reply(kAnswerYes);
  EXPECT_EQ(ShowAlert(nullptr, 100, 108, true, nullptr), kAnswerYes);
}

TEST_F(Alerts, AnUnbalancedReleaseDoesNotDisarmTheNextSuppression) {
  ScopedPrompts prompts;
  SuppressAlerts(false);
  SuppressAlerts(true);
  EXPECT_EQ(ShowAlert(nullptr, 100, 108, false, nullptr), 0);
  EXPECT_TRUE(prompts.Asked().empty());
}

TEST_F(Alerts, PlainMessageBoxesAreNotSilenced) {
  ScopedPrompts prompts;
  prompts.Reply(kAnswerCancel);
  SuppressAlerts(true);
  EXPECT_EQ(ShowMessageBox(nullptr, "Warnung", "ICC-Profil existiert bereits!", kBoxOkCancel | kBoxIconExclamation),
            kAnswerCancel);
  EXPECT_EQ(prompts.Asked(0).style, kBoxOkCancel | kBoxIconExclamation);
}

TEST_F(Alerts, AnAlertAskedWhileAnsweringAnotherIsRecordedInOrder) {
  // A responder that raises an alert of its own while answering: the inner
  // prompt comes second and takes the next queued answer.
  ScopedPrompts prompts;
  prompts.Reply(kAnswerYes).Reply(kAnswerNo);
  struct Nested : PromptResponder {
    PromptResponder* outer;
    PromptAnswer Answer(const PromptRequest& request) override {
      InstallPromptResponder(outer);
      ShowAlert(nullptr, 100, 108, true, nullptr);
      InstallPromptResponder(this);
      return outer->Answer(request);
    }
  } nested;
  nested.outer = &prompts;
  InstallPromptResponder(&nested);
  EXPECT_EQ(ShowAlert(nullptr, 500, 501, true, nullptr), kAnswerNo);
  InstallPromptResponder(&prompts);
  ASSERT_EQ(prompts.Asked().size(), 2u);
  EXPECT_EQ(prompts.Asked(0).title, "Fehler");
  EXPECT_EQ(prompts.Asked(1).title, "Warnung");
}

TEST(UserPrompts, AskNameRecordsThePromptAndCopiesTheAnswerBack) {
  ScopedScriptedSystem system;
  system->strings[721] = "Name der Rahmeneinstellung:";
  ScopedPrompts prompts;
  prompts.Accept(PromptKind::kName, "Rahmen 1").Cancel(PromptKind::kName);
  char name[kNameSize] = "Setting_3";
  EXPECT_TRUE(AskName(name, nullptr, 721));
  EXPECT_STREQ(name, "Rahmen 1");
  EXPECT_EQ(prompts.Asked(0).text, "Name der Rahmeneinstellung:");
  EXPECT_EQ(prompts.Asked(0).textId, 721u);
  EXPECT_EQ(prompts.Asked(0).initial, "Setting_3");
  EXPECT_FALSE(AskName(name, nullptr, 0));
  EXPECT_STREQ(name, "Rahmen 1") << "a cancelled entry leaves the name";
  EXPECT_EQ(prompts.Asked(1).text, kDefaultNamePrompt);
}

TEST(UserPrompts, ALongAnswerIsCutToTheNameBuffer) {
  ScopedPrompts prompts;
  prompts.Accept(PromptKind::kName, std::string(400, 'n'));
  char name[kNameSize] = "";
  EXPECT_TRUE(AskName(name, nullptr, 0));
  EXPECT_EQ(std::strlen(name), static_cast<size_t>(kNameSize - 1));
}

TEST(UserPrompts, FileDialogsGiveThePathAndWhereItsNameStarts) {
  ScopedPrompts prompts;
  prompts.Accept(PromptKind::kOpenFile, "C:\\Prefs\\QB (ZIR).prf")
      .Accept(PromptKind::kSaveFile, "C:\\IT8\\Profil.itp")
      .Accept(PromptKind::kSaveImage, "D:\\out\\scan.jpg", 2)
      .Accept(PromptKind::kOpenImageFile, "C:\\bilder\\sehr\\lang.tif");
  const char filter[] = "Quillbrook-Voreinstellungen\0*.prf\0";
  char path[260] = "";
  uint16_t offset = 0;
  ASSERT_TRUE(AskOpenFile(nullptr, "Voreinstellungsdatei ausw\xE4hlen", filter, "C:\\Prefs\\", path, sizeof path,
                          &offset));
  EXPECT_STREQ(path + offset, "QB (ZIR).prf");
  EXPECT_EQ(prompts.Asked(0).title, "Voreinstellungsdatei ausw\xE4hlen");
  EXPECT_EQ(prompts.Asked(0).folder, "C:\\Prefs\\");
  EXPECT_EQ(prompts.Asked(0).filter, std::string(filter, sizeof filter));

  std::strcpy(path, "Unbenanntes IT8-Profil");
  ASSERT_TRUE(AskSaveFile(nullptr, "Kalibrations-Datei speichern unter:", "K\0*.itp\0", "C:\\", path, sizeof path,
                          &offset, "itp"));
  EXPECT_EQ(prompts.Asked(1).initial, "Unbenanntes IT8-Profil");
  EXPECT_EQ(prompts.Asked(1).defaultExtension, "itp");

  int filterIndex = 1;
  ASSERT_TRUE(SaveImageAs(nullptr, "TIFF\0*.tif\0JPEG\0*.jpg\0", &filterIndex, "D:\\out", path, sizeof path, &offset));
  EXPECT_EQ(filterIndex, 2);
  EXPECT_EQ(prompts.Asked(2).filterIndex, 1);

  char small[16] = "";
  EXPECT_FALSE(AskOpenImageFile(nullptr, "Name der Bilddatei:", filter, "C:\\", small, sizeof small, &offset))
      << "a path longer than the buffer is refused";
}

TEST(UserPrompts, ChooseFolderDropsTheTrailingBackslashOfTheStart) {
  ScopedPrompts prompts;
  prompts.Accept(PromptKind::kFolder, "C:\\Jobs\\Ausgabe");
  char start[64] = "C:\\Jobs\\";
  char path[256];
  ASSERT_TRUE(ChooseFolder(nullptr, "Verzeichnis w\xE4hlen", start, path, sizeof path));
  EXPECT_STREQ(start, "C:\\Jobs");
  EXPECT_EQ(prompts.Asked(0).initial, "C:\\Jobs");
  EXPECT_STREQ(path, "C:\\Jobs\\Ausgabe");
}

TEST(ScopedPromptsSeam, UnexpectedAndUnansweredPromptsFailTheTest) {
  // Test programs answer every prompt themselves: one nobody queued fails the
  // test with its caption and text instead of waiting for a person.
  PromptResponder* const testDefault = InstalledPromptResponder();
  ASSERT_NE(testDefault, nullptr);
  EXPECT_NONFATAL_FAILURE(ShowAlertText(nullptr, 0, "keiner antwortet"),
                          "unanswered message box prompt \"\": \"keiner antwortet\"");
  EXPECT_NONFATAL_FAILURE(
      {
        ScopedPrompts prompts;
        ShowAlertText(nullptr, 0, "niemand gefragt");
      },
      "unexpected message box prompt");
  EXPECT_NONFATAL_FAILURE(
      {
        ScopedPrompts prompts;
        prompts.Accept(PromptKind::kName, "x");
        EXPECT_EQ(ShowAlertText(nullptr, 0, "falsche Art"), kAnswerNone);
        prompts.Cancel(PromptKind::kName);
        char name[kNameSize] = "";
        AskName(name, nullptr, 0);
        AskName(name, nullptr, 0);
      },
      "a name prompt was expected, got message box prompt");
  EXPECT_NONFATAL_FAILURE({ ScopedPrompts prompts; prompts.Reply(kAnswerYes); }, "never asked");
  EXPECT_EQ(InstalledPromptResponder(), testDefault);
}

}  // namespace
