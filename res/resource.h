// Resource identifiers shared by the resource script and the code.
#ifndef PARLYTE_RESOURCE_H
#define PARLYTE_RESOURCE_H

#define IDI_MAIN 100
#define IDD_MAIN 101
#define IDD_FIND 102

#define IDC_KEYLIST 1000
// The text field of language i is IDC_ENGLISH + i.
#define IDC_ENGLISH 1001
#define IDC_FRENCH 1002
#define IDC_GERMAN 1003
#define IDC_ITALIAN 1004
#define IDC_ABOUT 1005

// The Find dialog's command, from Ctrl+F and from the system menu, whose
// commands leave their low four bits to the system; then F3's and
// Shift+F3's, the first also the dialog's Find Next button.
#define IDC_FIND 1120
#define IDC_FIND_NEXT 1121
#define IDC_FIND_PREVIOUS 1122
#define IDC_FIND_TEXT 1123
#define IDC_MATCH_CASE 1124

#endif
