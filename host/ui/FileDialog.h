#pragma once
// The open-file prompt, shown through the command line: the user types a
// path (Enter alone cancels). The filter ("Description|pattern|...") is
// shown to the user; the chosen path is not checked against it.

#include <string>

// Asks for a file to open. Returns 1 (IDOK) with the path, or 2 (IDCANCEL)
// when the user cancels or gives no path.
int promptForOpenFile(const std::string& title, const std::string& filter, std::string& path);
