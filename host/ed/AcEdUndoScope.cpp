#include "host/ed/AcEdUndoScope.h"

#include "host/db/AcDbDatabase.h"
#include "host/ed/AcApDocManager.h"
#include "host/ed/AcEdCommand.h"
#include "host/ed/acedUsrBrk.h"
#include "host/ed/acutPrintf.h"

AcEdUndoScope::AcEdUndoScope(const AcEdCommand& command) : AcEdUndoScope(command.globalName())
{
    if ((command.commandFlags() & ACRX_CMD_NOUNDOMARKER) && database_) {
        database_->endUndoRecord();
        database_ = nullptr;
    }
}

AcEdUndoScope::AcEdUndoScope(const std::string& name)
{
    acedClearUserBreak();
    AcApDocument* document = acDocManagerPtr()->curDocument();
    database_ = document ? document->database() : nullptr;
    if (database_)
        database_->beginUndoRecord(name);
}

AcEdUndoScope::~AcEdUndoScope()
{
    if (database_)
        database_->endUndoRecord();
}

void AcEdUndoScope::cancel()
{
    if (database_)
        database_->cancelUndoRecord();
    database_ = nullptr;
    acutPrintf("*Cancel*\n");
}
