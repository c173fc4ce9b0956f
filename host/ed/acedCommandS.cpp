#include "host/ed/acedCommandS.h"

#include <deque>
#include <memory>

#include "host/ed/AcEdCommand.h"
#include "host/ed/AcEdCommandStack.h"
#include "host/ed/Editor.h"
#include "host/ed/acedInput.h"

namespace {

// The given answers first, then whatever the editor's input gives.
class AnswersFirst : public InputSource {
public:
    AnswersFirst(std::deque<std::string> answers, InputSource* rest) : answers_(std::move(answers)), rest_(rest) {}
    Result readLine() override
    {
        if (!answers_.empty()) {
            Result r{Kind::Line, answers_.front()};
            answers_.pop_front();
            return r;
        }
        return rest_ ? rest_->readLine() : Result{};
    }
    bool needsEcho() const override { return !answers_.empty() || !rest_ || rest_->needsEcho(); }
    bool isInteractive() const override { return answers_.empty() && rest_ && rest_->isInteractive(); }

private:
    std::deque<std::string> answers_;
    InputSource* rest_;
};

}  // namespace

int acedCommandS(const std::vector<std::string>& tokens)
{
    size_t first = 0;
    while (first < tokens.size() && tokens[first].empty())
        ++first;
    if (first == tokens.size())
        return RTNORM;
    const AcEdCommand* command = acedRegCmds()->lookupCmd(tokens[first]);
    if (!command || !command->functionAddr())
        return RTERROR;
    Editor& editor = Editor::instance();
    std::deque<std::string> answers(tokens.begin() + static_cast<long>(first) + 1, tokens.end());
    std::unique_ptr<InputSource> own = editor.setInput(nullptr);
    editor.setInput(std::make_unique<AnswersFirst>(std::move(answers), own.get()));
    command->functionAddr()();
    const bool failed = editor.commandFailed();
    editor.setInput(std::move(own));
    if (failed)
        editor.markCommandFailed();
    return RTNORM;
}
