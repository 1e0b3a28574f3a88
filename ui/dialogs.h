// The settings dialog (speed, speed-up period, brick selection and its intensity)
// and the about dialog. Both are modal; the main window stops the fall timer while
// they are open and restarts it afterwards.
#pragma once

#include <windows.h>

// Dialog 500. OK checks the three numbers as a whole: none may be 0 or empty and the
// speed may be at most 6000 hundredths of a second; refused values leave the dialog
// open with a message and store nothing. Accepted values rescale the running
// interval in proportion, are stored in the settings and handed to the brick chooser.
// Storno, Escape and closing store nothing.
INT_PTR CALLBACK SettingsDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Dialog 600. OK (or Enter) and closing end it; Escape does not.
INT_PTR CALLBACK AboutDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
