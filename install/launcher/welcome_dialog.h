// The welcome screen with the choice of the product's language.
#pragma once

#include "framework/dialog.h"

class CWelcomeDlg : public CDialog {
public:
    CWelcomeDlg();

    // 1 Italiano (the default), 2 English.
    int language = 1;

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(WORD id, WORD notifyCode) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;
};
