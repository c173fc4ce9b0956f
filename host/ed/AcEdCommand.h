#pragma once
// One command of the host's command stack: where it came from and what runs.

#include <cstdint>
#include <string>

using AcRxFunctionPtr = void (*)();

// Command flags: a modal command runs in the current document's context, a
// session command in the application's.
constexpr int32_t ACRX_CMD_MODAL = 0x00000000;
constexpr int32_t ACRX_CMD_TRANSPARENT = 0x00000001;
// The command gets no undo record of its own (UNDO, U and REDO).
constexpr int32_t ACRX_CMD_NOUNDOMARKER = 0x00002000;
constexpr int32_t ACRX_CMD_SESSION = 0x00200000;

class AcEdCommand {
public:
    AcEdCommand(std::string group, std::string globalName, std::string localName, int32_t flags,
                AcRxFunctionPtr function, int functionCode)
        : group_(std::move(group)), globalName_(std::move(globalName)), localName_(std::move(localName)),
          flags_(flags), function_(function), functionCode_(functionCode)
    {
    }

    const std::string& groupName() const { return group_; }
    const std::string& globalName() const { return globalName_; }
    const std::string& localName() const { return localName_; }
    int32_t commandFlags() const { return flags_; }
    AcRxFunctionPtr functionAddr() const { return function_; }
    int functionCode() const { return functionCode_; }
    bool isSession() const { return (flags_ & ACRX_CMD_SESSION) != 0; }

private:
    std::string group_;
    std::string globalName_;
    std::string localName_;
    int32_t flags_;
    AcRxFunctionPtr function_;
    int functionCode_;
};
