#include "host/ed/AcDbHostApplicationServices.h"

AcDbHostApplicationServices* acdbHostApplicationServices()
{
    static AcDbHostApplicationServices services;
    return &services;
}
