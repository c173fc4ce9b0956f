#include "module/SpaceProgress.h"

#include "host/ed/Progress.h"

CSpaceProgress::CSpaceProgress(const char* label, int count) { acedSetStatusBarProgressMeter(label, 0, count); }

CSpaceProgress::~CSpaceProgress() { acedRestoreStatusBar(); }

void CSpaceProgress::step(int index) { acedSetStatusBarProgressMeterPos(index); }
