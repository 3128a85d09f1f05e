// The job run's texts as the data source module carries them (code page 1252).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "output/job_cache.h"
#include "output/job_run.h"

namespace {

struct Text {
  UINT id;
  const wchar_t* text;
};

const Text kTexts[] = {
    {kSourceOverwriteString,
     L"Vorsicht, Sie \u00fcberschreiben Ihre Quelldaten !\nBitte \u00e4ndern Sie entweder den entsprechenden "
     L"Rahmen-Namen\noder aber den von Ihnen gew\u00e4hlten Ziel-Ordner !"},
    {kJobOutputBaseString, L"Stapel Bild.tif"},
    {kWarningCaptionString, L"Warnung"},
    {kFilesExistString, L"Einige Dateien sind bereits vorhanden.\n\nErsetzen ?"},
    {kHintString, L"Hinweis"},
    {kJobFormatProblemString, L"Nicht alle Jobeintr\u00e4ge k\u00f6nnen im gew\u00e4hlten Dateiformat gespeichert werden."},
    {kJobWriteAsTiffString, L"Sollen die entsprechenden Eintr\u00e4ge stattdessen im TIFF-Format gespeichert werden?"},
    {kJobsFolderString, L"Jobs"},
    {kJobsFolderTipString, L"Quillbrook Jobs"},
    {16029, L"Tiff Stapelbearbeitung"},
    {16032, L"JPEG Stapelbearbeitung"},
};

TEST(JobStrings, ModuleCarriesTheJobTexts) {
  HMODULE module = LoadLibraryExA("QB ZIR.ds", nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(module, nullptr);
  for (const Text& expected : kTexts) {
    wchar_t buffer[256] = {};
    const int length = LoadStringW(module, expected.id, buffer, 256);
    EXPECT_EQ(std::wstring(buffer, length), expected.text) << "string " << expected.id;
  }
  FreeLibrary(module);
}

}  // namespace
