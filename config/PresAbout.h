#pragma once
// The About dialog: the CAD program, the module version and its build date.
// Modal, read-only, closed with OK.

#include "host/ui/CDialog.h"

class CPresAbout : public CDialog {
public:
    CPresAbout();

protected:
    bool OnInitDialog() override;
};
