#include "posinet/point_dialogs.h"

#include "resources/posinet/resource.h"

#include "framework/app.h"
#include "posinet/portable/element_table.h"

namespace {
// Longest text the coordinate fields take.
constexpr WPARAM kCoordinateTextLimit = 35;
} // namespace

CGotoPointDlg::CGotoPointDlg(HWND parent) : CDialog(IDD_GOTO_POINT, parent) {}

BOOL CGotoPointDlg::OnInitDialog() {
    SetItemText(IDC_LONGITUDE, longitude_);
    SetItemText(IDC_LATITUDE, latitude_);
    SendDlgItemMessageA(hwnd_, IDC_LONGITUDE, EM_LIMITTEXT, kCoordinateTextLimit, 0);
    SendDlgItemMessageA(hwnd_, IDC_LATITUDE, EM_LIMITTEXT, kCoordinateTextLimit, 0);
    return CDialog::OnInitDialog();
}

void CGotoPointDlg::OnOK() {
    // A text set from outside the keyboard may be longer than the limit: it is cut there.
    longitude_ = GetItemText(IDC_LONGITUDE).substr(0, kCoordinateTextLimit);
    latitude_ = GetItemText(IDC_LATITUDE).substr(0, kCoordinateTextLimit);
    CDialog::OnOK();
}

CFollowElementDlg::CFollowElementDlg(HWND parent, int elementCount)
    : CDialog(IDD_FOLLOW_ELEMENT, parent), elementCount_(elementCount) {}

BOOL CFollowElementDlg::OnInitDialog() {
    SetItemText(IDC_ELEMENT_NUMBER, elementText_);
    return CDialog::OnInitDialog();
}

void CFollowElementDlg::OnOK() {
    elementText_ = GetItemText(IDC_ELEMENT_NUMBER);
    const int number = korva::ParseElementNumber(elementText_, elementCount_);
    if (number < 0) {
        // The dialog stays open on the field to be corrected.
        AppMessageBox(IDS_ELEMENT_NUMBER_RANGE, MB_OK | MB_ICONEXCLAMATION);
        HWND field = GetDlgItem(IDC_ELEMENT_NUMBER);
        SetFocus(field);
        SendMessageA(field, EM_SETSEL, 0, -1);
        return;
    }
    element_ = number;
    CDialog::OnOK();
}
