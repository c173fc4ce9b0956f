#include "host/plot/ExportCommand.h"

#include <filesystem>
#include <string>

#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbLayoutManager.h"
#include "host/ed/AcApDocManager.h"
#include "host/ed/AcEdCommandStack.h"
#include "host/ed/Progress.h"
#include "host/ed/acedCommandStatus.h"
#include "host/ed/acedInput.h"
#include "host/ed/acutPrintf.h"
#include "host/plot/PlotEngine.h"

namespace {

constexpr const char* kGroup = "ACAD_EXPORT";

void exportCommand()
{
    AcApDocument* document = acDocManagerPtr()->curDocument();
    AcDbDatabase* db = document ? document->database() : nullptr;
    if (!db) {
        acutPrintf("No drawing is open.\n");
        acedCommandFailed();
        return;
    }
    std::string proposed = document->fileName().empty() ? "Drawing1.pdf" : document->fileName();
    proposed = std::filesystem::path(proposed).replace_extension(".pdf").string();
    std::string name;
    if (acedGetString(1, ("Export file name <" + proposed + ">: ").c_str(), name) != RTNORM) {
        acutPrintf("*Cancel*\n");
        return;
    }
    if (name.empty())
        name = proposed;
    if (!std::filesystem::path(name).has_extension())
        name += ".pdf";
    std::string layout;
    acdbLayoutManager()->getActiveLayoutName(layout, true, db);

    PlotEngine engine;
    bool meter = false;
    engine.setProgress([&](int percent) {
        if (!meter) {
            acedSetStatusBarProgressMeter(("Plotting " + layout).c_str(), 0, 100);
            meter = true;
        }
        acedSetStatusBarProgressMeterPos(percent);
    });
    const bool plotted = engine.plot(*db, layout, name);
    if (meter)
        acedRestoreStatusBar();
    if (!plotted) {
        acutPrintf("%s\n", engine.message().c_str());
        acedCommandFailed();
        return;
    }
    acutPrintf("Plotted layout \"%s\" to %s\n", layout.c_str(), name.c_str());
}

}  // namespace

void acedRegisterExportCommands()
{
    AcEdCommandStack* commands = acedRegCmds();
    commands->addCommand(kGroup, "EXPORT", "EXPORT", ACRX_CMD_MODAL, exportCommand);
    commands->addCommand(kGroup, "_EXPORT", "_EXPORT", ACRX_CMD_MODAL, exportCommand);
    commands->addCommand(kGroup, "-EXPORT", "-EXPORT", ACRX_CMD_MODAL, exportCommand);
}

void acedUnregisterExportCommands() { acedRegCmds()->removeGroup(kGroup); }
