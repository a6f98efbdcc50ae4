// Identifiers of the dialog and its controls, shared by the resource script, the
// program and its test driver.
#pragma once

#define IDI_TARVELO 1
#define IDD_FORM1 100

#define IDC_FRAME1 1000
#define IDC_OPTION5 1001
#define IDC_LINE1 1002
#define IDC_OPTION3 1003
#define IDC_OPTION2 1004
#define IDC_OPTION1 1005
#define IDC_OPTION4 1006
#define IDC_LABEL1 1007
#define IDC_TEXT1 1008
#define IDC_COMMAND1 1009
#define IDC_COMMAND2 1010
#define IDC_LABEL2 1011
