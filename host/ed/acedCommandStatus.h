#pragma once
// How a command tells the host that it failed after reporting the failure
// itself, so a script run ends with a non-zero exit status.

// Marks the running command as failed. Never fails.
void acedCommandFailed();
