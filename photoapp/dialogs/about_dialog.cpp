#include "photoapp/dialogs/about_dialog.h"

#include "photoapp/resource.h"

AboutDialog::AboutDialog(HWND parent) : Dialog(IDD_ABOUTBOX, parent) { link_.SetURL(kMakerAddress); }

void AboutDialog::DoDataExchange(DataExchange& exchange) { ExchangeControl(exchange, IDC_MAKER_LINK, link_); }
