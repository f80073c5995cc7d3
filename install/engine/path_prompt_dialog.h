// The installer's question for a path: a prompt, an edit field with a default, Continua and
// Annulla. It remembers where it was on the screen so the cover can be repainted there.
#pragma once

#include "framework/dialog.h"

#include <string>

class PathPromptDialog : public CDialog {
public:
    PathPromptDialog();

    std::string prompt_;
    // The default on entry, the typed text after OK.
    std::string text_;
    // Screen rectangle at the last paint.
    RECT lastRect_{};

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;
};
