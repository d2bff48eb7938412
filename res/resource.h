// Resource identifiers shared by the resource script and the code.
#ifndef PARLYTE_RESOURCE_H
#define PARLYTE_RESOURCE_H

#define IDI_MAIN 100
#define IDD_MAIN 101

#define IDC_KEYLIST 1000
// The text field of language i is IDC_ENGLISH + i.
#define IDC_ENGLISH 1001
#define IDC_FRENCH 1002
#define IDC_GERMAN 1003
#define IDC_ITALIAN 1004
#define IDC_ABOUT 1005

#endif
