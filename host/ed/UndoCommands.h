#pragma once
// The host's undo commands, in the command group "ACAD_UNDO":
//   UNDO  asks how many commands to take back (Enter: one) and undoes them;
//   U     undoes the last command;
//   REDO  does again what the last U or UNDO took back.
// Each names the commands it undid or redid. A command that changes the
// drawing empties the redo list.

// Adds the commands to the host's command stack (once).
void acedRegisterUndoCommands();
