#include "ui/dialogs.h"

#include <cstdint>

#include "ai/chooser.h"
#include "res/resource.h"
#include "ui/run_state.h"

namespace {

constexpr uint32_t kLongestInterval = 60000;  // ms: one minute a cell
constexpr int kSelectionModes = 3;

// An edit's text as an unsigned number; anything that is not one (an empty field)
// reads as 0.
uint32_t ReadNumber(HWND dialog, int id) {
    BOOL ok = FALSE;
    const UINT value = GetDlgItemInt(dialog, id, &ok, FALSE);
    return ok ? value : 0;
}

void Settings_OnInit(HWND dialog) {
    SetDlgItemInt(dialog, IDC_SPEED_EDIT, settings.baseInterval / kMsPerHundredth, FALSE);
    SetDlgItemInt(dialog, IDC_ACCEL_EDIT, settings.accelEvery, FALSE);
    SetDlgItemInt(dialog, IDC_INTENSITY_EDIT, settings.intensity, FALSE);
    CheckRadioButton(dialog, IDC_RANDOM_RADIO, IDC_UNSUITABLE_RADIO, IDC_RANDOM_RADIO + settings.selectionMode);
}

void Settings_OnOk(HWND dialog) {
    const uint32_t speed = ReadNumber(dialog, IDC_SPEED_EDIT);
    const uint32_t period = ReadNumber(dialog, IDC_ACCEL_EDIT);
    const uint32_t intens = ReadNumber(dialog, IDC_INTENSITY_EDIT);
    if (speed == 0 || period == 0 || intens == 0 || speed > kLongestInterval / kMsPerHundredth) {
        MessageBoxW(dialog, texts[kTextBadSettings], texts[kTextAppName], MB_ICONERROR);
        return;
    }
    const uint32_t newBase = speed * kMsPerHundredth;
    // A sped-up game keeps its lead over the new starting speed, down to the shortest
    // interval. curInterval never exceeds baseInterval, so the product fits in 32 bits.
    settings.curInterval = NotBelowShortest(settings.curInterval * newBase / settings.baseInterval);
    settings.accelEvery = period;
    settings.intensity = intens;
    settings.baseInterval = newBase;
    int mode = 0;
    while (mode < kSelectionModes - 1 && IsDlgButtonChecked(dialog, IDC_RANDOM_RADIO + mode) != BST_CHECKED) ++mode;
    settings.selectionMode = mode;
    // The chooser takes a signed intensity; beyond its range every value acts alike.
    const uint32_t chooserIntensity = intens > INT32_MAX ? INT32_MAX : intens;
    SetBrickSelection(settings.selectionMode, static_cast<int32_t>(chooserIntensity));
    EndDialog(dialog, IDOK);
}

}  // namespace

INT_PTR CALLBACK SettingsDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG: Settings_OnInit(dialog); return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK) Settings_OnOk(dialog);
            if (LOWORD(wParam) == IDCANCEL) EndDialog(dialog, IDCANCEL);
            return TRUE;
        case WM_CLOSE: EndDialog(dialog, IDCANCEL); return TRUE;
        default: return FALSE;
    }
}

INT_PTR CALLBACK AboutDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG: return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK) EndDialog(dialog, IDOK);
            return TRUE;
        case WM_CLOSE: EndDialog(dialog, IDOK); return TRUE;
        default: return FALSE;
    }
}
