// The dialogs of the commands addressed to the map program.
#pragma once

#include "framework/dialog.h"

#include <string>

// "Vai al punto": a longitude and a latitude as DD.MM.SS.mmm texts.
class CGotoPointDlg : public CDialog {
public:
    explicit CGotoPointDlg(HWND parent);

    std::string longitude_;
    std::string latitude_;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
};

// The element the map program is to follow, by its order number.
class CFollowElementDlg : public CDialog {
public:
    CFollowElementDlg(HWND parent, int elementCount);

    std::string elementText_;
    // The chosen element once the dialog ended with OK.
    int element_ = -1;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    int elementCount_;
};
