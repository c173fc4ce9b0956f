#include "host/ed/UndoCommands.h"

#include <string>
#include <vector>

#include "host/db/AcDbDatabase.h"
#include "host/ed/AcApDocManager.h"
#include "host/ed/AcEdCommandStack.h"
#include "host/ed/acedInput.h"
#include "host/ed/acutPrintf.h"
#include "host/ed/adscodes.h"

namespace {

AcDbDatabase* currentDrawing()
{
    AcApDocument* document = acDocManagerPtr()->curDocument();
    AcDbDatabase* db = document ? document->database() : nullptr;
    if (!db)
        acutPrintf("No drawing is open.\n");
    return db;
}

void undoSome(int count)
{
    AcDbDatabase* db = currentDrawing();
    if (!db)
        return;
    if (db->undoDepth() == 0) {
        acutPrintf("Nothing to undo.\n");
        return;
    }
    for (const std::string& name : db->undo(count))
        acutPrintf("Undone: %s\n", name.c_str());
    if (db->undoDepth() == 0)
        acutPrintf("Everything has been undone.\n");
}

void undoCommand()
{
    acedInitGet(RSG_NOZERO | RSG_NONEG, nullptr);
    int count = 1;
    int status = acedGetInt("Enter the number of operations to undo <1>: ", &count);
    if (status == RTNONE)
        count = 1;
    else if (status != RTNORM)
        return;
    undoSome(count);
}

void uCommand() { undoSome(1); }

void redoCommand()
{
    AcDbDatabase* db = currentDrawing();
    if (!db)
        return;
    std::vector<std::string> names = db->redo();
    if (names.empty())
        acutPrintf("Nothing to redo.\n");
    for (const std::string& name : names)
        acutPrintf("Redone: %s\n", name.c_str());
}

}  // namespace

void acedRegisterUndoCommands()
{
    AcEdCommandStack* stack = acedRegCmds();
    if (stack->lookupCmd("ACAD_UNDO", "UNDO"))
        return;
    const int32_t flags = ACRX_CMD_MODAL | ACRX_CMD_NOUNDOMARKER;
    stack->addCommand("ACAD_UNDO", "UNDO", "UNDO", flags, undoCommand);
    stack->addCommand("ACAD_UNDO", "U", "U", flags, uCommand);
    stack->addCommand("ACAD_UNDO", "REDO", "REDO", flags, redoCommand);
}
