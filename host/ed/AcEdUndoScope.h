#pragma once
// The undo record of one command: opened on the current document's drawing
// when the command starts, kept for UNDO when the scope ends, or undone at
// once when the command is broken off (cancel). Commands flagged
// ACRX_CMD_NOUNDOMARKER (UNDO, U, REDO themselves) get no record.

#include <string>

class AcDbDatabase;
class AcEdCommand;

class AcEdUndoScope {
public:
    // Opens a record named after the command on the current document's
    // drawing; records nothing without a document or for a command that
    // asks for no record. A break asked for earlier is forgotten.
    explicit AcEdUndoScope(const AcEdCommand& command);
    // For work that is not a command (a dialog action at the Command: prompt).
    explicit AcEdUndoScope(const std::string& name);
    ~AcEdUndoScope();
    AcEdUndoScope(const AcEdUndoScope&) = delete;
    AcEdUndoScope& operator=(const AcEdUndoScope&) = delete;

    // Puts back everything the command changed and prints *Cancel*.
    void cancel();

private:
    AcDbDatabase* database_ = nullptr;
};
