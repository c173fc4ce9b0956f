#include "host/ed/Editor.h"

#include "host/ed/acutPrintf.h"

Editor& Editor::instance()
{
    static Editor editor;
    return editor;
}

std::unique_ptr<InputSource> Editor::setInput(std::unique_ptr<InputSource> input)
{
    std::unique_ptr<InputSource> previous = std::move(input_);
    input_ = std::move(input);
    ended_ = false;
    endedInPrompt_ = false;
    hasPushedBack_ = false;
    return previous;
}

InputSource::Result Editor::prompt(const std::string& promptText, bool commandPrompt)
{
    // Input that has ended stays ended (Ctrl-D at a terminal is not asked
    // again): later prompts end at once, without printing, so a command that
    // asks again and again still comes to an end.
    if (ended_) {
        if (!commandPrompt) endedInPrompt_ = true;
        return {InputSource::Kind::End, {}};
    }
    acutPrintf("%s", promptText.c_str());
    InputSource::Result result;
    if (hasPushedBack_) {
        result = {InputSource::Kind::Line, std::move(pushedBack_)};
        hasPushedBack_ = false;
    } else if (input_) {
        result = input_->readLine();
    }
    const bool echo = !input_ || input_->needsEcho();
    switch (result.kind) {
    case InputSource::Kind::Line:
        if (echo) acutPrintf("%s\n", result.text.c_str());
        break;
    case InputSource::Kind::Cancel:
        acutPrintf("*Cancel*\n");
        break;
    case InputSource::Kind::End:
        ended_ = true;
        if (!commandPrompt) endedInPrompt_ = true;
        acutPrintf("\n");
        break;
    }
    return result;
}
