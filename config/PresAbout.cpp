#include "config/PresAbout.h"

#include "module/CommandFrame.h"
#include "module/ModuleResources.h"

CPresAbout::CPresAbout() : CDialog(zelkaResourceFile("PresAbout.dlg")) {}

bool CPresAbout::OnInitDialog()
{
    SetDlgItemText("IDC_MODULE_VERSION", ZELKA_MODULE_VERSION);
    return true;
}
