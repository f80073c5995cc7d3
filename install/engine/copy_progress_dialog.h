// The modeless copy progress window: edition line, file name, percentage and red bar.
// It is never pumped while files are copied; every change is painted at once, except file
// names: painting one takes longer than copying a small file, so a name is painted at most
// every few hundredths of a second and the latest one whenever the run stops to ask.
#pragma once

#include "framework/dialog.h"
#include "framework/handles.h"

#include <cstdint>
#include <string>

class CopyProgressDialog : public CDialog {
public:
    // The clock that spaces the file names, in milliseconds; tests give one of their own.
    using Clock = DWORD(WINAPI*)();
    // The least time between two file names painted: faster, names only flicker past.
    static constexpr DWORD kFileNameIntervalMs = 50;

    explicit CopyProgressDialog(Clock clock = GetTickCount);
    ~CopyProgressDialog() override;

    // Creates the window, shown at once, owned by `owner`.
    bool Open(HWND owner);
    void SetTotal(std::uint32_t bytes);
    void Advance(long bytes);
    void ShowFileName(const std::string& name);
    // Paints the latest file name if it waits: called before the user is asked about that
    // file.
    void ShowWaitingFileName();
    void ShowEditionLine(const std::string& text);
    // Paints whatever is pending in the window and its controls.
    void Repaint();
    void Hide();
    void Release();

    // Screen rectangle of the "Annulla" button, watched by the cancel poll.
    bool CancelButtonRect(RECT& rect) const;

    std::uint32_t Total() const { return total_; }
    std::uint32_t Done() const { return done_; }

protected:
    BOOL OnInitDialog() override;
    void OnCancel() override {}
    void OnOK() override {}
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

private:
    void ResetBar();
    static void SetControlText(HWND control, const std::string& text);
    void ShowLatestFileName();

    std::uint32_t total_ = 0;
    std::uint32_t count_ = 0;
    std::uint32_t done_ = 0;
    // The percentage shown, so that an unchanged one is not painted again for every file.
    std::string percentShown_;
    std::string latestFileName_;
    bool fileNameShown_ = false;
    bool fileNameWaiting_ = false; // the latest name is not painted yet
    Clock clock_;
    DWORD fileNameShownAt_ = 0;
    // The controls, found once the window exists (null before and after).
    HWND edition_ = nullptr;
    HWND caption_ = nullptr;
    HWND fileName_ = nullptr;
    HWND percent_ = nullptr;
    HWND bar_ = nullptr;
    HWND cancelButton_ = nullptr;
    fw::UniqueGdiObject redPen_;
    fw::UniqueGdiObject redBrush_;
};
