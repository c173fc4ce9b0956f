#include "host/ed/AcAxDocLock.h"

#include "host/ed/AcApDocManager.h"

AcAxDocLock::AcAxDocLock() : AcAxDocLock(acDocManagerPtr()->curDocument()) {}

AcAxDocLock::AcAxDocLock(AcApDocument* document) : document_(document)
{
    if (document_) status_ = acDocManagerPtr()->lockDocument(document_, AcAp::kWrite);
}

AcAxDocLock::~AcAxDocLock()
{
    if (document_ && status_ == Acad::eOk) acDocManagerPtr()->unlockDocument(document_);
}
