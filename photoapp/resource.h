// Resource ids of the photo program.
#pragma once

#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_PHOTOREFINER_MAIN 102
#define IDR_MAINFRAME 128
#define IDB_LANDSCAPE 129
#define IDB_MID_DETAILS 130
#define IDB_CLOSE_UP 131
#define IDB_BALANCE_FLAT 134
#define IDB_BALANCE_CONTRAST 135
#define IDB_MIDTONES_DARK 136
#define IDB_MIDTONES_BRIGHT 137
#define IDB_COLOUR_GREY 138
#define IDB_COLOUR_VIVID 139
#define IDB_VIEW_ORIGINAL 140
#define IDB_VIEW_ENHANCED 141
#define IDD_JPEG_QUALITY 141

// The system-menu command that opens the About box.
#define IDM_ABOUTBOX 0x0010

// Controls of the main dialog.
#define IDC_LOAD 1000
#define IDC_BEFORE_VIEW 1001
#define IDC_ZOOM_IN 1002
#define IDC_ZOOM_OUT 1003
#define IDC_AFTER_VIEW 1004
#define IDC_APPLY 1005
#define IDC_DENOISE 1006
#define IDC_LANDSCAPE 1007
#define IDC_MID_DETAILS 1008
#define IDC_CLOSE_UP 1009
#define IDC_DETAILS 1010
#define IDC_MIDTONES 1011
#define IDC_AUTO_BALANCE 1012
#define IDC_COLOUR 1013
#define IDC_SAVE 1014
#define IDC_PROGRESS 1015
#define IDC_UPDATES_LINK 1016
#define IDC_ORIGINAL 1017
#define IDC_PREVIEW 1018
#define IDC_STATUS 1019

// Controls of the JPEG quality box: the quality radio group and the sampling choice.
#define IDC_QUALITY_MAXIMUM 1007
#define IDC_QUALITY_HIGH 1008
#define IDC_QUALITY_MEDIUM 1009
#define IDC_QUALITY_LOW 1010
#define IDC_IMPROVE_SAMPLING 1020

#define IDC_MAKER_LINK 1018
#define IDC_STATIC -1

// The maker's web address, shown and opened by the About box's link.
#define kMakerAddress "http://www.photorefiner.example/"
