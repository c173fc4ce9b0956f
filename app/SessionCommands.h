#pragma once
// The host's own session commands, as a CAD program has them: SAVE and QSAVE
// save the drawing to its file (asking for a name when it has none), SAVEAS
// asks for a file name, QUIT and EXIT ask about unsaved changes and end the
// session. Every question is a prompt or a message box, so scripts answer it.

#include <string>

namespace SessionCommands {

// Adds the commands to the host's command stack (group "ACAD_SESSION").
void registerCommands();
// Removes them again.
void unregisterCommands();
// True once QUIT or EXIT ended the session.
bool quitRequested();

// Saves the current drawing to path (its own file when empty). When its own
// file changed on disk since it was opened, a message box asks whether to
// replace it if mayAsk, else the save is refused. Returns "" on success,
// otherwise what went wrong and what to do, for the caller to show.
std::string saveCurrentDrawing(const std::string& path, bool mayAsk);

}  // namespace SessionCommands
