// "Salva lo schermo": saves an area of the screen as a bitmap file. The installer's path
// prompt, install-type dialog and progress window open it on Ctrl + a left double click.
#pragma once

#include "framework/dialog.h"

#include <string>

class CScreenCaptureDlg : public CDialog {
public:
    // `parent` is the dialog the capture is opened from ("Finestra precedente");
    // `mainWindow` the application's main window ("Finestra Principale"), when it has one.
    // The installer has none: that choice then captures the whole screen.
    explicit CScreenCaptureDlg(HWND parent, HWND mainWindow = nullptr);

protected:
    BOOL OnInitDialog() override;
    // Exchanges the fields, ends the dialog, then captures and saves before returning.
    void OnOK() override;

private:
    // Fields from the controls (or, with `fromControls` false, into them). False, with the
    // framework's message shown and the field selected, when a coordinate is not a whole number.
    bool ExchangeFields(bool fromControls);
    bool ExchangeInteger(int id, int& value, bool fromControls);
    int RadioIndex(int firstId) const;
    void CaptureAndSave();

    HWND parent_;
    HWND mainWindow_;
    // What the user filled in, exchanged with the controls.
    std::string fileName_;
    int x1_ = 0;
    int x2_ = 0;
    int y1_ = 0;
    int y2_ = 0;
    int colourChoice_ = -1; // 0 when "256 Colori" is checked
    int areaChoice_ = -1;   // the checked "Zona da salvare" button, 0 to 4
    int clientAreaFlag_ = 0;
};

// For the window procedure of a dialog that offers the capture: on a left double click with
// Ctrl held (on the dialog itself, not on a control) runs "Salva lo schermo" with the dialog
// as parent and returns true. The message goes on to default processing in any case: the
// caller does not count it as handled.
bool HandleScreenCaptureTrigger(HWND dialog, UINT message, WPARAM wParam);
