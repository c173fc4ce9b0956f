#pragma once
// CParameterChar: one of the plain-value parameters of database/ParameterScalar.h.
#include "database/ParameterScalar.h"
