#include "posinet/posinet_app.h"

#include "posinet/main_frame.h"
#include "posinet/posinet_view.h"
#include "resources/posinet/resource.h"

#include "framework/dialog.h"
#include "framework/doc_template.h"
#include "framework/framework_ids.h"

BOOL CPosinetApp::InitInstance() {
    SetDialogBkColor(RGB(192, 192, 192), RGB(0, 0, 0));
    LoadStdProfileSettings(4);
    AddDocTemplate(CSingleDocTemplate::Make<CPosinetDoc, CMainFrame, CPosinetView>(IDR_MAINFRAME));
    OnFileNew();
    return TRUE;
}

bool CPosinetApp::OnCommand(WORD id) {
    if (id == ID_APP_ABOUT) {
        CDialog about(IDD_ABOUTBOX, mainWindow_);
        about.SetColors(GetDialogColors());
        about.DoModal();
        return true;
    }
    return CWinApp::OnCommand(id);
}
