#pragma once
// Runs a host command from inside another command, as acedCommandS does:
// the first token names the command (global or local name, case ignored),
// the ones after it answer its prompts in order; when they run out, its
// prompts read the editor's own input again. An empty command name cancels
// a running command, which outside the command line is nothing to cancel.

#include <string>
#include <vector>

// RTNORM when the command ran (or the tokens were only empty names); RTERROR
// for a command the host does not know. Failures the command reports itself
// mark the running command failed, as typed ones do.
int acedCommandS(const std::vector<std::string>& tokens);
