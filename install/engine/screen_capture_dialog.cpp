#include "install/engine/screen_capture_dialog.h"

#include "framework/app.h"
#include "framework/handles.h"
#include "framework/resource_strings.h"
#include "imaging/cdib.h"
#include "imaging/portable/capture_choice.h"
#include "resources/install/resource.h"

#include <string>

namespace {

constexpr int kCoordinateIds[] = {IDC_CAPTURE_X1, IDC_CAPTURE_X2, IDC_CAPTURE_Y1, IDC_CAPTURE_Y2};

korva::ScreenRect ToScreenRect(const RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}

// Lets the windows that the dialog covered repaint before the screen is read, as the saved
// bits of the dialog class would restore them at once.
void LetUncoveredWindowsRepaint() {
    RedrawWindow(nullptr, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    const DWORD start = GetTickCount();
    MSG message;
    while (GetTickCount() - start < 150) {
        while (PeekMessageA(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) {
            DispatchMessageA(&message);
        }
        Sleep(10);
    }
}

} // namespace

CScreenCaptureDlg::CScreenCaptureDlg(HWND parent, HWND mainWindow)
    : CDialog(IDD_SCREEN_CAPTURE, parent), parent_(parent), mainWindow_(mainWindow) {}

BOOL CScreenCaptureDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    ExchangeFields(false);
    return TRUE;
}

int CScreenCaptureDlg::RadioIndex(int firstId) const {
    // The radio buttons from the first one up to the next control that starts a group.
    int index = 0;
    HWND control = GetDlgItem(firstId);
    for (bool first = true; control; control = GetWindow(control, GW_HWNDNEXT), first = false) {
        const LONG style = GetWindowLongA(control, GWL_STYLE);
        if (!first && (style & WS_GROUP)) {
            break;
        }
        const LONG kind = style & BS_TYPEMASK;
        if (SendMessageA(control, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON ||
            kind == BS_AUTORADIOBUTTON || kind == BS_RADIOBUTTON) {
            if (SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED) {
                return index;
            }
            ++index;
        }
    }
    return -1;
}

bool CScreenCaptureDlg::ExchangeInteger(int id, int& value, bool fromControls) {
    if (!fromControls) {
        SetItemText(id, std::to_string(value));
        return true;
    }
    if (korva::ParseDialogInteger(GetItemText(id), value)) {
        return true;
    }
    AppMessageBox(IDS_PARSE_INT, MB_OK | MB_ICONEXCLAMATION);
    HWND edit = GetDlgItem(id);
    SetFocus(edit);
    SendMessageA(edit, EM_SETSEL, 0, -1);
    return false;
}

bool CScreenCaptureDlg::ExchangeFields(bool fromControls) {
    if (fromControls) {
        fileName_ = GetItemText(IDC_CAPTURE_FILE);
    } else {
        SetItemText(IDC_CAPTURE_FILE, fileName_);
    }
    int* fields[] = {&x1_, &x2_, &y1_, &y2_};
    for (int i = 0; i < 4; ++i) {
        if (!ExchangeInteger(kCoordinateIds[i], *fields[i], fromControls)) {
            return false;
        }
    }
    if (fromControls) {
        colourChoice_ = RadioIndex(IDC_CAPTURE_256_COLOURS);
        areaChoice_ = RadioIndex(IDC_CAPTURE_PREVIOUS_WINDOW);
    }
    // Unchecked radio groups (-1) check nothing on the way in.
    return true;
}

void CScreenCaptureDlg::OnOK() {
    // A coordinate that is not a whole number keeps the dialog open, and nothing is captured.
    if (!ExchangeFields(true)) {
        return;
    }
    EndDialog(IDOK);
    LetUncoveredWindowsRepaint();
    CaptureAndSave();
}

void CScreenCaptureDlg::CaptureAndSave() {
    CDib dib;
    if (areaChoice_ == korva::kAreaClient) {
        clientAreaFlag_ = 1;
    }
    korva::CaptureGeometry geometry;
    {
        fw::UniqueMemoryDc display(CreateDCA("DISPLAY", nullptr, nullptr, nullptr));
        geometry.screen = {0, 0, GetDeviceCaps(display.Get(), HORZRES),
                           GetDeviceCaps(display.Get(), VERTRES)};
    }
    RECT rect{};
    if (parent_ && GetWindowRect(parent_, &rect)) {
        geometry.parentWindow = ToScreenRect(rect);
        RECT client{};
        GetClientRect(parent_, &client);
        MapWindowPoints(parent_, nullptr, reinterpret_cast<POINT*>(&client), 2);
        geometry.parentClient = ToScreenRect(client);
    } else {
        geometry.parentWindow = geometry.parentClient = geometry.screen;
    }
    if (mainWindow_ && GetWindowRect(mainWindow_, &rect)) {
        geometry.hasMainWindow = true;
        geometry.mainWindow = ToScreenRect(rect);
    }
    const korva::ScreenRect area =
        korva::CaptureRectangle(areaChoice_, geometry, x1_, y1_, x2_, y2_);
    const RECT capture{area.left, area.top, area.right, area.bottom};
    fw::UniqueBitmap bitmap = dib.CaptureScreenArea(capture);
    // The outcome is not shown: a failure leaves its text in the CDib only.
    if (colourChoice_ == 0) {
        dib.SaveBitmapFile(bitmap.Get(), fileName_, 0, nullptr);
    } else {
        dib.SaveBitmap16File(bitmap.Get(), fileName_, 0, nullptr);
    }
}

bool HandleScreenCaptureTrigger(HWND dialog, UINT message, WPARAM wParam) {
    if (message != WM_LBUTTONDBLCLK || !(wParam & MK_CONTROL)) {
        return false;
    }
    CScreenCaptureDlg capture(dialog);
    capture.DoModal();
    return true;
}
