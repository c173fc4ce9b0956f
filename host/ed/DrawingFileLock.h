#pragma once
// The lock a session holds on a drawing it has open: a small text file
// NAME.zelka-lock next to the drawing (links followed) that says who holds
// it: user, host, process id and since when. A second session that opens
// the drawing finds the lock, is told who holds it and opens the drawing
// read-only. A lock left by a process of this host that no longer runs (a
// killed session) is taken over; one from another host is left alone, as
// there is no telling whether its process still runs.

#include <string>

class DrawingFileLock {
public:
    // Who holds a lock, as its file says.
    struct Holder {
        std::string user;
        std::string host;
        long pid = 0;
        std::string since;  // when the lock was taken, "2026-12-06 04:30:12 UTC"
    };
    enum class Outcome {
        Held,         // this object holds the lock now
        HeldByOther,  // a running session holds it; holder() says who
        NotPossible,  // no lock file can be made there (a read-only folder): the drawing is not locked
    };

    DrawingFileLock() = default;
    // Releases the lock when it is held.
    ~DrawingFileLock();
    DrawingFileLock(const DrawingFileLock&) = delete;
    DrawingFileLock& operator=(const DrawingFileLock&) = delete;

    // Takes the lock of the drawing at path (taking over a stale one).
    Outcome acquire(const std::string& drawingPath);
    // Removes the lock file if it still names this process; does nothing when not held.
    void release();
    bool held() const { return held_; }
    // True when the last acquire() took over a stale lock; staleHolder() says whose.
    bool tookOver() const { return tookOver_; }
    const Holder& staleHolder() const { return stale_; }
    // The holder found by the last acquire() that returned HeldByOther
    // (pid 0 when the lock file cannot be read).
    const Holder& holder() const { return holder_; }

    // The lock file of the drawing at path.
    static std::string lockPathOf(const std::string& drawingPath);
    // True, with holder set, when a running session (this one included)
    // holds the lock of the drawing at path.
    static bool heldBySession(const std::string& drawingPath, Holder& holder);
    // "alice on host pc7 (process 4711) since 2026-12-06 04:30:12 UTC"; for an
    // unreadable lock "another session (its lock file cannot be read)".
    static std::string describe(const Holder& holder);

private:
    std::string path_;
    bool held_ = false;
    Holder mine_;
    Holder holder_;
    bool tookOver_ = false;
    Holder stale_;
};
