#pragma once
// Resource numbers of the dialog layer's tests (shared by dialog_test.rc and the tests).

// A program window like the panel's: no OK button, so Enter is the dialog navigation's IDOK
// unless an accelerator takes it first. The focus starts on the button, which tells nothing.
#define IDD_PROGRAM 100
#define IDC_EDIT 1000
#define IDC_BUTTON 1001
#define IDC_SLIDER 1002

// An owned choice with a real OK (the default button) and Cancel.
#define IDD_CHOICE 101
#define IDC_CHOICES 1010

#define IDR_KEYS 110
#define IDM_ENTER 32700
