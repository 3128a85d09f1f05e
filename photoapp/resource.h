// Resource ids of the photo program.
#pragma once

#define IDD_ABOUTBOX 100
#define IDD_PHOTOREFINER_MAIN 102
#define IDR_MAINFRAME 128
#define IDC_MAKER_LINK 1018
#define IDC_STATIC -1

// The maker's web address, shown and opened by the About box's link.
#define kMakerAddress "http://www.photorefiner.example/"
