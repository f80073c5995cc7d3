// The choice of the install type: three buttons, each with its explanation beside it.
#pragma once

#include "framework/dialog.h"

#include <string>

class InstallTypeDialog : public CDialog {
public:
    InstallTypeDialog();

    // Texts beside the minimal, recommended and complete buttons.
    std::string minimalText_;
    std::string recommendedText_;
    std::string completeText_;
    // 1 minimal, 2 recommended, 3 complete; 0 when closed without a choice.
    int type_ = 0;

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(WORD id, WORD notifyCode) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;
};
