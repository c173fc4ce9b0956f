#pragma once
// System variables: those of the current drawing (SORTENTS, LUNITS,
// INSUNITS, CLAYER, CTAB (the current layout's name), TILEMODE, EXTMIN,
// EXTMAX, UCSORG, UCSXDIR, UCSYDIR, ACADVER, DWGNAME, DWGPREFIX) and those of the host (PICKBOX, CMDECHO, FILEDIA,
// PRODUCT, VIEWCTR, VIEWSIZE). Names are case-insensitive.

#include "host/db/resbuf.h"

// Reads a variable into result (restype RTSHORT, RTREAL, RT3DPOINT or RTSTR;
// a string is malloc'ed for the caller to free). RTNORM, or RTERROR for an
// unknown name, a null result, or a drawing variable with no drawing open.
int acedGetVar(const char* name, resbuf* result);
// Sets a variable from value; RTNORM, or RTERROR for an unknown or read-only
// name, a value of the wrong type or out of range, or no drawing open.
int acedSetVar(const char* name, const resbuf* value);
