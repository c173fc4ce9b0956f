#pragma once
// Where the module's resources (dialog templates) are: $ZELKA_RESOURCE_DIR
// when set, else the resources/ folder of the source tree it was built from.

#include <string>

// The full path of a resource file; never fails (the file may be missing).
std::string zelkaResourceFile(const std::string& name);
