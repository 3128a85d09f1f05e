#include "photoapp/dialogs/jpeg_quality_dialog.h"

#include "photoapp/resource.h"

JpegQualityDialog::JpegQualityDialog(HWND parent) : Dialog(IDD_JPEG_QUALITY, parent) {}

void JpegQualityDialog::DoDataExchange(DataExchange& exchange) {
  ExchangeRadio(exchange, IDC_QUALITY_MAXIMUM, quality);
  ExchangeCheck(exchange, IDC_IMPROVE_SAMPLING, improve_sampling);
}

int JpegQualityValue(int choice) {
  switch (choice) {
    case JpegQualityDialog::kMaximum: return 100;
    case JpegQualityDialog::kMedium: return 72;
    case JpegQualityDialog::kLow: return 55;
  }
  return 85;
}
