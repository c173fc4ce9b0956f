#pragma once
// The progress meter of a loop over the space blocks. The host draws it on a
// terminal only; each step is also where the host breaks the command off
// when the user pressed Ctrl-C (AcEdUserBreak passes out of the loop).

class CSpaceProgress {
public:
    CSpaceProgress(const char* label, int count);
    ~CSpaceProgress();
    CSpaceProgress(const CSpaceProgress&) = delete;
    CSpaceProgress& operator=(const CSpaceProgress&) = delete;

    // The loop reached item index (0-based).
    void step(int index);
};
