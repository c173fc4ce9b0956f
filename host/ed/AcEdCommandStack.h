#pragma once
// The host's command stack: command groups in the order they were first
// used, each holding commands by global and local name. A name typed at the
// command line is looked up case-insensitively, global names before local
// ones, the most recently added group first.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/db/AcadErrorStatus.h"
#include "host/ed/AcEdCommand.h"
#include "host/ed/AcRxObject.h"

class AcEdUIContext;

class AcEdCommandStack : public AcRxObject {
public:
    // Adds a command. eInvalidInput for a missing group, name or function;
    // eDuplicateKey when the group already has that global name.
    Acad::ErrorStatus addCommand(const char* groupName, const char* globalName, const char* localName,
                                 int32_t flags, AcRxFunctionPtr function, AcEdUIContext* uiContext = nullptr,
                                 int functionCode = -1, void* resourceHandle = nullptr,
                                 AcEdCommand** commandReturned = nullptr);
    // Removes a group with all its commands; eKeyNotFound when there is no such group.
    Acad::ErrorStatus removeGroup(const char* groupName);

    // The command a typed name stands for, or null.
    const AcEdCommand* lookupCmd(const std::string& name) const;
    // The command of that group and global name, or null.
    const AcEdCommand* lookupCmd(const std::string& groupName, const std::string& globalName) const;
    // The group names, in the order in which they first received a command.
    std::vector<std::string> groupNames() const;
    // The commands of a group in the order they were added (empty for an unknown group).
    std::vector<const AcEdCommand*> commandsOf(const std::string& groupName) const;

    const char* className() const override { return "AcEdCommandStack"; }
    // The entry when it is a command stack, else null.
    static AcEdCommandStack* cast(AcRxObject* object);

private:
    struct Group {
        std::string name;
        std::vector<std::unique_ptr<AcEdCommand>> commands;
    };
    std::vector<Group> groups_;
};

// The host's command stack.
AcEdCommandStack* acedRegCmds();
