#include "host/ed/AcEdCommandStack.h"

#include <algorithm>
#include <cctype>

namespace {

bool sameName(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

}  // namespace

Acad::ErrorStatus AcEdCommandStack::addCommand(const char* groupName, const char* globalName, const char* localName,
                                               int32_t flags, AcRxFunctionPtr function, AcEdUIContext*,
                                               int functionCode, void*, AcEdCommand** commandReturned)
{
    if (commandReturned) *commandReturned = nullptr;
    if (!groupName || !*groupName || !globalName || !*globalName || !function) return Acad::eInvalidInput;
    std::string local = localName && *localName ? localName : globalName;
    auto group = std::find_if(groups_.begin(), groups_.end(), [&](const Group& g) { return g.name == groupName; });
    if (group == groups_.end()) {
        groups_.push_back(Group{groupName, {}});
        group = groups_.end() - 1;
    }
    for (const auto& command : group->commands) {
        if (sameName(command->globalName(), globalName)) return Acad::eDuplicateKey;
    }
    group->commands.push_back(
        std::make_unique<AcEdCommand>(groupName, globalName, std::move(local), flags, function, functionCode));
    if (commandReturned) *commandReturned = group->commands.back().get();
    return Acad::eOk;
}

Acad::ErrorStatus AcEdCommandStack::removeGroup(const char* groupName)
{
    if (!groupName) return Acad::eInvalidInput;
    auto group = std::find_if(groups_.begin(), groups_.end(), [&](const Group& g) { return g.name == groupName; });
    if (group == groups_.end()) return Acad::eKeyNotFound;
    groups_.erase(group);
    return Acad::eOk;
}

const AcEdCommand* AcEdCommandStack::lookupCmd(const std::string& name) const
{
    for (auto group = groups_.rbegin(); group != groups_.rend(); ++group) {
        for (const auto& command : group->commands) {
            if (sameName(command->globalName(), name)) return command.get();
        }
    }
    for (auto group = groups_.rbegin(); group != groups_.rend(); ++group) {
        for (const auto& command : group->commands) {
            if (sameName(command->localName(), name)) return command.get();
        }
    }
    return nullptr;
}

const AcEdCommand* AcEdCommandStack::lookupCmd(const std::string& groupName, const std::string& globalName) const
{
    for (const auto& group : groups_) {
        if (group.name != groupName) continue;
        for (const auto& command : group.commands) {
            if (sameName(command->globalName(), globalName)) return command.get();
        }
    }
    return nullptr;
}

std::vector<std::string> AcEdCommandStack::groupNames() const
{
    std::vector<std::string> names;
    for (const auto& group : groups_) names.push_back(group.name);
    return names;
}

std::vector<const AcEdCommand*> AcEdCommandStack::commandsOf(const std::string& groupName) const
{
    std::vector<const AcEdCommand*> commands;
    for (const auto& group : groups_) {
        if (group.name != groupName) continue;
        for (const auto& command : group.commands) commands.push_back(command.get());
    }
    return commands;
}

AcEdCommandStack* AcEdCommandStack::cast(AcRxObject* object)
{
    return dynamic_cast<AcEdCommandStack*>(object);
}

AcEdCommandStack* acedRegCmds()
{
    static AcEdCommandStack stack;
    return &stack;
}
