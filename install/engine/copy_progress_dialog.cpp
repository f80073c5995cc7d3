#include "install/engine/copy_progress_dialog.h"

#include "framework/handles.h"
#include "framework/resource_strings.h"
#include "install/engine/portable/settings_logic.h"
#include "install/engine/screen_capture_dialog.h"
#include "resources/install/resource.h"

namespace {

// How far the bar has been drawn. One value for the whole program, not one per window: only
// one progress window exists at a time, and a new window continues from here until its first
// Advance of a group starts the bar again.
int lastBarX = 0;

} // namespace

CopyProgressDialog::CopyProgressDialog(Clock clock) : CDialog(IDD_COPY_PROGRESS), clock_(clock) {}

CopyProgressDialog::~CopyProgressDialog() {
    Release();
}

bool CopyProgressDialog::Open(HWND owner) {
    return Create(owner);
}

BOOL CopyProgressDialog::OnInitDialog() {
    // Looked up once: asking the platform for a control costs as much as copying a small file.
    edition_ = GetDlgItem(IDC_PROGRESS_EDITION);
    caption_ = GetDlgItem(IDC_PROGRESS_CAPTION);
    fileName_ = GetDlgItem(IDC_PROGRESS_FILE);
    percent_ = GetDlgItem(IDC_PROGRESS_PERCENT);
    bar_ = GetDlgItem(IDC_PROGRESS_BAR);
    cancelButton_ = GetDlgItem(IDCANCEL);
    redPen_.Reset(CreatePen(PS_SOLID, 1, RGB(255, 0, 0)));
    redBrush_.Reset(CreateSolidBrush(RGB(255, 0, 0)));
    SetCaption(fw::LoadResourceString(IDS_PROGRESS_TITLE));
    ShowWindow(cancelButton_, SW_SHOW);
    Repaint();
    return TRUE;
}

bool CopyProgressDialog::OnMessage(UINT message, WPARAM wParam, LPARAM, INT_PTR&) {
    if (message == WM_PAINT) {
        ShowWindow(cancelButton_, SW_SHOW);
        return false;
    }
    // Ctrl + double click saves the screen; the click still goes on to the dialog.
    HandleScreenCaptureTrigger(hwnd_, message, wParam);
    return false;
}

void CopyProgressDialog::Repaint() {
    if (hwnd_) {
        RedrawWindow(hwnd_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    }
}

void CopyProgressDialog::SetControlText(HWND control, const std::string& text) {
    if (control) {
        SetWindowTextA(control, text.c_str());
        ::UpdateWindow(control);
    }
}

void CopyProgressDialog::SetTotal(std::uint32_t bytes) {
    total_ = bytes;
    count_ = 0;
    done_ = 0;
    Repaint();
    ResetBar();
}

void CopyProgressDialog::ResetBar() {
    if (bar_) {
        RECT client;
        GetClientRect(bar_, &client);
        fw::WindowDc dc(bar_);
        fw::SelectObjectScope pen(dc.Get(), GetStockObject(BLACK_PEN));
        fw::SelectObjectScope brush(dc.Get(), GetStockObject(BLACK_BRUSH));
        Rectangle(dc.Get(), client.left, client.top, client.right, client.bottom);
    }
    SetControlText(caption_, fw::LoadResourceString(IDS_PROGRESS_COPYING));
    SetControlText(percent_, "0%");
    percentShown_ = "0%";
    ShowWindow(cancelButton_, SW_SHOW);
}

void CopyProgressDialog::Advance(long bytes) {
    if (count_ == 0) {
        lastBarX = 2;
    }
    ++count_;
    done_ += static_cast<std::uint32_t>(bytes);
    const long percent = korva::ProgressPercent(done_, total_);
    std::string text = fw::FormatText("%ld%%", percent);
    if (text != percentShown_) {
        SetControlText(percent_, text);
        percentShown_ = std::move(text);
    }

    if (!bar_) {
        return;
    }
    RECT client;
    GetClientRect(bar_, &client);
    const int x = korva::ProgressBarEnd(client.right, percent);
    if (x > lastBarX) {
        fw::WindowDc dc(bar_);
        fw::SelectObjectScope pen(dc.Get(), redPen_.Get());
        fw::SelectObjectScope brush(dc.Get(), redBrush_.Get());
        Rectangle(dc.Get(), lastBarX + client.left, client.top + 2, x + client.left,
                  client.bottom - 2);
        lastBarX = x;
    }
}

void CopyProgressDialog::ShowFileName(const std::string& name) {
    latestFileName_ = name;
    if (fileNameShown_ && clock_() - fileNameShownAt_ < kFileNameIntervalMs) {
        fileNameWaiting_ = true;
        return;
    }
    ShowLatestFileName();
}

void CopyProgressDialog::ShowLatestFileName() {
    fileNameWaiting_ = false;
    SetControlText(fileName_, latestFileName_);
    fileNameShown_ = true;
    fileNameShownAt_ = clock_();
}

void CopyProgressDialog::ShowWaitingFileName() {
    if (fileNameWaiting_ && hwnd_) {
        ShowLatestFileName();
    }
}

void CopyProgressDialog::ShowEditionLine(const std::string& text) {
    SetControlText(edition_, text);
}

void CopyProgressDialog::Hide() {
    if (hwnd_) {
        ShowWindow(hwnd_, SW_HIDE);
    }
}

void CopyProgressDialog::Release() {
    fileNameWaiting_ = false;
    fileNameShown_ = false;
    DestroyWindow();
    edition_ = caption_ = fileName_ = percent_ = bar_ = cancelButton_ = nullptr;
}

bool CopyProgressDialog::CancelButtonRect(RECT& rect) const {
    return cancelButton_ && GetWindowRect(cancelButton_, &rect);
}
