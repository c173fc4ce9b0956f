#pragma once
// The host's EXPORT command (also _EXPORT and -EXPORT): asks for the output
// file on the command line, as a host does with FILEDIA 0, and plots the
// current layout of the current drawing to it with the layout's plot
// settings; the file's extension chooses the device (PlotEngine). A name
// without an extension gets ".pdf". Long plots show a progress meter on a
// terminal.

// Adds the commands to the host's command stack (group "ACAD_EXPORT").
void acedRegisterExportCommands();
// Removes them.
void acedUnregisterExportCommands();
