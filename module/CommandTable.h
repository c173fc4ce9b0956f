#pragma once
// The module's commands: eight groups, each command with its global and local
// name, flags and body, in the order they are added to the host's command
// stack.

#include <cstdint>
#include <vector>

#include "host/ed/AcEdCommand.h"

class AcEdCommandStack;
class CHostProduct;

struct CCommandEntry {
    const char* group;
    const char* globalName;
    const char* localName;
    int32_t flags;
    AcRxFunctionPtr body;
    bool fullProductOnly;  // added only when the host is a full product
};

// Every command of the module, in registration order.
const std::vector<CCommandEntry>& zelkaCommandTable();
// The eight group names, in the order they are removed at unload.
const std::vector<const char*>& zelkaCommandGroups();

// Adds the commands the host product allows. Returns the number added; a
// command the stack refuses is skipped.
int addZelkaCommands(AcEdCommandStack& stack, const CHostProduct& product);
// Removes the eight groups and the group of the commands beyond them.
void removeZelkaCommands(AcEdCommandStack& stack);
