#pragma once
// Process-wide geometry settings, as CAD interfaces keep them: the default
// tolerance used by every comparison that is not given one.

#include "host/ge/AcGeTol.h"

struct AcGeContext {
    // The default tolerance (1e-10 for points and vectors).
    static inline AcGeTol gTol{};
};
