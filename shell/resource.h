// Every id shared by the resource script and the code.
#pragma once

// Icons
#define IDI_TAPECOUNT 165
#define IDI_TAPECOUNT_SMALL 175

// Menu, accelerators and strings sharing the id 176
#define IDR_MAIN 176
#define IDS_CLASS_NAME 176
#define IDS_WINDOW_NAME 40000

// Dialogs
#define IDD_ABOUT 162
#define IDD_CLIPBOARD_VIEWER 180

// Controls
#define IDC_STATUS_BAR 182

// Menu commands
#define IDM_ABOUT 163
#define IDM_EXIT 164
#define IDM_TRANSFER 166
#define IDM_PAGE_SETUP 167
#define IDM_PRINT 168
#define IDM_AUTO_EXPAND 169
#define IDM_TOPMOST 170
#define IDM_SAVE_SETTINGS 171
#define IDM_BACKGROUND_COLOUR 172
#define IDM_ENTRY_FONT 173
#define IDM_AUTO_MODE 174
#define IDM_SINGLE_INSTANCE 178
#define IDM_TRANSPARENCY 179
