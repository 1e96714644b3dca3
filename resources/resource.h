// Resource and control ids shared by the templates and the code.
#pragma once

#define IDD_WORD_ENTRY 100
#define IDD_LOOKUP 101
#define IDD_DOWNLOAD_OFFER 102
#define IDI_KAVREL 103

#define IDC_HELP_BUTTON 9
#define IDC_ABOUT 11
#define IDC_WORD 104
#define IDC_ENTRY_TRANSLATIONS 105
#define IDC_DIRECTION 106
#define IDC_TRANSLATIONS 107
#define IDC_DOWNLOAD 108
#define IDC_CANCEL_DOWNLOAD 109
#define IDC_BANNER (-5)

#define IDB_BANNER_FIRST 130
#define IDB_BANNER_SECOND 131
#define IDB_BANNER_THIRD 132
#define IDB_BANNER_HOVER 133
