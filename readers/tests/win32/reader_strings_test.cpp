// The readers' error texts as the data source module carries them (code page 1252
// source, read back as UTF-16).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

struct ErrorText {
  UINT id;
  const wchar_t* text;
};

const ErrorText kTexts[] = {
    {200, L"Notwendige Tiff Information fehlt."},
    {201, L"Bildbreite nicht erlaubt (0 Spalten)"},
    {202, L"Bildh\u00f6he nicht erlaubt (0 Zeilen)"},
    {203, L" Anzahl der Sampels per Pixel ist Null"},
    {204, L"Anzahl der Samples per Pixel ist zu hoch"},
    {205, L"Ung\u00fcltige Anzahl der Bits per Sample"},
    {206, L"Die Anzahl der bits per sample ist in den Farbausz\u00fcgen unterschiedlich."},
    {207, L"Unerlaubtes Farbmodel (Photometrie)"},
    {208, L"Unerlaubte Farbreihenfolge"},
    {209, L"Unerlaubte Kompressionsart"},
    {210, L"Nicht gen\u00fcgend Hauptspeicher"},
    {211, L"Fehler in der Datenorganisation (strip byte offset)"},
    {212, L"Fehler in der Datenorganisation (strip byte count)"},
    {213, L"Unerlaubte Bildlage (Drehung, Spiegel)"},
    {214, L"Nicht erlaubte Aufl\u00f6sungseinheiten"},
    {215, L"Allgemeiner Datenfehler"},
    {216, L"Zu wenig Platz auf dem Laufwerk"},
};

TEST(ReaderStrings, ModuleCarriesTheErrorTexts) {
  HMODULE module = LoadLibraryExA("QB ZIR.ds", nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(module, nullptr);
  for (const ErrorText& expected : kTexts) {
    wchar_t buffer[256] = {};
    const int length = LoadStringW(module, expected.id, buffer, 256);
    EXPECT_EQ(std::wstring(buffer, length), expected.text) << "string " << expected.id;
  }
  FreeLibrary(module);
}

}  // namespace
