#include "host/db/AcDbDictionaryIterator.h"

#include "host/db/AcDbOpen.h"
