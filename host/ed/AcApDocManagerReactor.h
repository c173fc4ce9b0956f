#pragma once
// Notifications of the document manager. A reactor is registered with
// acDocManagerPtr()->addReactor and must be removed before it is destroyed.

class AcApDocument;

class AcApDocManagerReactor {
public:
    virtual ~AcApDocManagerReactor() = default;
    virtual void documentCreated(AcApDocument*) {}
    virtual void documentToBeDestroyed(AcApDocument*) {}
    virtual void documentActivated(AcApDocument*) {}
    virtual void documentLockModeChanged(AcApDocument*, int /*previousMode*/, int /*newMode*/) {}
};
