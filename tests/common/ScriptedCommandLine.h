// A test fixture for code that prompts: what the host prints on the command
// line is kept in transcript, and prompts are answered from text fed to the
// editor as a script would feed it.
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "host/ed/Editor.h"
#include "host/ed/ScriptInput.h"
#include "host/ed/acutPrintf.h"

class ScriptedCommandLine : public ::testing::Test {
protected:
    void SetUp() override
    {
        previousSink_ = setCommandLineSink([this](const std::string& text) { transcript += text; });
    }
    void TearDown() override
    {
        Editor::instance().setInput(nullptr);
        setCommandLineSink(previousSink_);
    }
    // Answers the next prompts with the lines of text.
    void feed(const std::string& text)
    {
        auto input = std::make_unique<ScriptInput>();
        input->addText(text);
        Editor::instance().setInput(std::move(input));
    }
    std::string transcript;

private:
    CommandLineSink previousSink_;
};
