// The device layer's texts as the data source module carries them: the error
// words of a failed scan start and the chooser's rows, prompts and titles.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "session/device_chooser.h"
#include "session/device_layer.h"
#include "session/device_table.h"

namespace {

struct Text {
  UINT id;
  const wchar_t* text;
};

const Text kTexts[] = {
    {kScanStartErrorString, L"Fehler bei Scan Start."},
    {kDeviceErrorToneTables, L"\n\nKann Gradtions Tabellen nicht speichern.\n Zu wenig Hauptspeicher."},
    {kDeviceErrorScanBuffer, L"\n\nKann Scan Buffer nicht erzeugen.\nZu wenig Hauptspeicher."},
    {kDeviceErrorFile, L"\n\nFehler in Datei."},
    {kDeviceErrorOpenFile, L"\n\nKann Datei nicht \u00f6ffnen."},
    {kDeviceErrorReaderObject, L"\n\nKann Objekt zum Lesen der Datei nicht erzeugen."},
    {kImageFilePromptString, L"Name der Bilddatei:"},
    {kImageFilterPatternString, L"*.tif;*.jpg;*.psd"},
    {kImageFilterNameString, L"Bilddateien (*.tif;*.jpg;*.psd)"},
    {kOpenImageString, L"Bild \u00f6ffnen..."},
    {kOverviewTitleString, L"\u00dcbersicht \u00fcber: "},
    {kChooseFolderString, L"Bild-Ordner lokalisieren:"},
    {kOverviewString, L"\u00dcbersicht..."},
};

TEST(SessionStrings, ModuleCarriesTheDeviceTexts) {
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
