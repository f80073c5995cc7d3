// posinet's application object: the single-document template and its first document.
#pragma once

#include "framework/app.h"

class CPosinetApp : public CWinApp {
public:
    BOOL InitInstance() override;
    bool OnCommand(WORD id) override;
};
