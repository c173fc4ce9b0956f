#include "host/ed/AcEdSelectionIndexScope.h"

#include "host/ed/SelectionIndex.h"

AcEdSelectionIndexScope::AcEdSelectionIndexScope()
{
    SelectionIndex::openScope();
}

AcEdSelectionIndexScope::~AcEdSelectionIndexScope()
{
    SelectionIndex::closeScope();
}

bool AcEdSelectionIndexScope::isActive()
{
    return SelectionIndex::scopeOpen();
}
