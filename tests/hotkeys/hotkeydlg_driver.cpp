#include "tests/hotkeys/hotkeydlg_driver.h"

#include "hotkeydlgs_ids.h"

namespace {

// Enabled means it is the one the user works with (its owner is disabled while it is open).
bool IsActiveDialogWith(HWND hwnd, int a, int b) {
  return IsDialogWindow(hwnd) && ::IsWindowEnabled(hwnd) && ::GetDlgItem(hwnd, a) && ::GetDlgItem(hwnd, b);
}

}  // namespace

HWND FindEditor() {
  return FindThreadWindow([](HWND h) { return IsActiveDialogWith(h, IDC_AH_PICTURE, IDC_AH_KEY); });
}

HWND FindManager() {
  return FindThreadWindow([](HWND h) { return IsActiveDialogWith(h, IDC_MH_ADD, IDC_MH_EDIT); });
}

HWND FindMessageBox() {
  return FindThreadWindow([](HWND h) {
    return IsDialogWindow(h) && ::IsWindowEnabled(h) && !::GetDlgItem(h, IDC_AH_PICTURE) && !::GetDlgItem(h, IDC_MH_ADD);
  });
}
