#include "app/ConsoleHost.h"

#include "app/Transcript.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <memory>
#include <vector>

#include "app/SessionCommands.h"
#include "host/plot/ExportCommand.h"
#include "host/db/AcDbDatabase.h"
#include "host/ed/AcApDocManager.h"
#include "host/ed/AcDbHostApplicationServices.h"
#include "host/ed/AcEdCommandStack.h"
#include "host/ed/AcEdEscapeWatch.h"
#include "host/ed/AcEdUndoScope.h"
#include "host/ed/AcRxDynamicLinker.h"
#include "host/ed/Editor.h"
#include "host/ed/ScriptInput.h"
#include "host/ed/TerminalInput.h"
#include "host/ed/UndoCommands.h"
#include "host/ed/acedUsrBrk.h"
#include "host/ed/acedView.h"
#include "host/ed/acutPrintf.h"
#include "host/ui/ConsoleDialogFrontEnd.h"
#include "host/ui/ConsoleMessageBox.h"

bool ConsoleHost::setUpInput()
{
    if (options_.inputs.empty()) {
        Editor::instance().setInput(std::make_unique<TerminalInput>(STDIN_FILENO, STDOUT_FILENO));
        return true;
    }
    auto script = std::make_unique<ScriptInput>();
    for (const CommandLineOptions::Input& input : options_.inputs) {
        if (!input.isScript) {
            script->addText(input.value);
        } else if (std::string error; !script->addFile(input.value, error)) {
            std::fprintf(stderr, "zelka: cannot read the script '%s': %s\n", input.value.c_str(), error.c_str());
            return false;
        }
    }
    Editor::instance().setInput(std::move(script));
    return true;
}

std::string ConsoleHost::modulePath() const
{
    if (!options_.modulePath.empty()) return options_.modulePath;
    std::error_code error;
    std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return "../lib/libzelka.so";
    return (self.parent_path().parent_path() / "lib" / "libzelka.so").string();
}

bool ConsoleHost::runCommandLine(const std::string& line)
{
    if (ConsoleDialogFrontEnd::isAction(line)) {
        // A dialog's handler that shows an error fails the action as a command would.
        AcEdUndoScope undo(line);
        Editor::instance().clearCommandFailed();
        const bool done = consoleDialogFrontEnd().performOnModeless(line);
        return done && !Editor::instance().commandFailed();
    }

    // A blank ends the command name, as the space bar does; the rest of the
    // line answers the command's first prompts.
    size_t start = line.find_first_not_of(' ');
    if (start == std::string::npos) return true;
    size_t blank = line.find(' ', start);
    std::string name = line.substr(start, blank == std::string::npos ? std::string::npos : blank - start);
    if (blank != std::string::npos) {
        std::string rest = line.substr(blank + 1);
        if (!rest.empty()) Editor::instance().pushBack(rest);
    }
    const AcEdCommand* command = acedRegCmds()->lookupCmd(name);
    if (!command) {
        acutPrintf("Unknown command \"%s\".  Type m? for the list of commands.\n", name.c_str());
        return false;
    }
    Editor& editor = Editor::instance();
    editor.clearCommandFailed();
    consoleDialogFrontEnd().takeFailure();
    bool ok = true;
    AcEdUndoScope undo(*command);
    AcEdEscapeWatch escape(STDIN_FILENO);
    try {
        command->functionAddr()();
    } catch (const AcEdUserBreak&) {
        undo.cancel();
        return false;
    } catch (const std::exception& e) {
        acutPrintf("Command %s failed: %s\n", command->globalName().c_str(), e.what());
        ok = false;
    } catch (...) {
        acutPrintf("Command %s failed with an unexpected error.\n", command->globalName().c_str());
        ok = false;
    }
    if (editor.commandFailed()) ok = false;
    if (consoleDialogFrontEnd().takeFailure()) ok = false;
    return ok;
}

int ConsoleHost::run()
{
    // Absolute, so that the folder is the one meant whatever the current folder is later.
    if (!options_.appData.empty()) setenv("ZELKA_APPDATA", std::filesystem::absolute(options_.appData).c_str(), 1);
    if (options_.hostProductGiven) acdbHostApplicationServices()->setProduct(options_.hostProduct);
    if (!setUpInput()) return 3;
    setCommandLineSink(Transcript::write);
    installConsoleMessageBox();
    acedInstallInterruptHandler();
    acedRegisterUndoCommands();

    if (!openDrawing()) return 3;
    SessionCommands::registerCommands();
    acedRegisterExportCommands();

    AcRxDynamicLinker* linker = acrxDynamicLinker();
    if (!linker->loadModule(modulePath())) {
        std::fprintf(stderr, "zelka: cannot load the module: %s\n", linker->lastError().c_str());
        return 3;
    }

    bool failed = false;
    if (consoleDialogFrontEnd().takeFailure()) failed = true;
    Editor& editor = Editor::instance();
    for (;;) {
        if (editor.inputEnded() || SessionCommands::quitRequested()) break;
        if (!Transcript::atLineStart()) acutPrintf("\n");
        InputSource::Result answer = editor.prompt("Command: ", true);
        if (answer.kind == InputSource::Kind::End) break;
        if (answer.kind == InputSource::Kind::Cancel) continue;
        if (!runCommandLine(answer.text)) failed = true;
    }
    if (editor.inputEndedInPrompt()) {
        std::fprintf(stderr, "zelka: the input ended while a prompt was waiting for an answer\n");
        failed = true;
    }
    // QUIT and EXIT have saved or discarded the changes as answered.
    if (!SessionCommands::quitRequested() && !saveDrawing()) failed = true;
    linker->unloadAll();
    SessionCommands::unregisterCommands();
    acedUnregisterExportCommands();
    setCommandLineSink(nullptr);
    closeDocumentsAtExit();
    if (!Transcript::error().empty()) {
        std::fprintf(stderr, "zelka: the transcript could not be written: %s\n", Transcript::error().c_str());
        if (!failed) return 4;
    }
    return failed ? 1 : 0;
}

void ConsoleHost::closeDocumentsAtExit()
{
    // Freeing a large drawing object by object takes a fifth of a bulk run
    // on 50,000 outlines, and the process ends right after. The databases
    // stay referenced from here (reachable, not leaked, to leak checkers).
    static auto* kept = new std::vector<std::shared_ptr<AcDbDatabase>>();
    AcApDocManager* documents = acDocManagerPtr();
    for (AcApDocument* document : documents->documents()) {
        if (document->lockCount() > 0) continue;
        kept->push_back(document->sharedDatabase());
        documents->closeDocument(document);
    }
}

bool ConsoleHost::openDrawing()
{
    AcApDocManager* documents = acDocManagerPtr();
    Acad::ErrorStatus status = options_.drawing.empty() ? documents->appContextNewDocument()
                                                        : documents->appContextOpenDocument(options_.drawing.c_str());
    if (status != Acad::eOk) {
        std::fprintf(stderr, "zelka: cannot open the drawing: %s\n", documents->lastOpenError().c_str());
        return false;
    }
    for (const std::string& note : documents->lastOpenNotes()) std::fprintf(stderr, "zelka: %s\n", note.c_str());
    if (AcApDocument* document = documents->curDocument(); document && document->isReadOnly()) {
        std::fprintf(stderr,
                     "zelka: %s is locked: %s has it open. It is opened read-only; save it under another name "
                     "(--save-as FILE, or SAVEAS)\n",
                     document->fileName().c_str(), document->readOnlyHolder().c_str());
    }
    // What reading repaired or upgraded, said once.
    if (AcApDocument* document = documents->curDocument(); document && document->database())
        for (const std::string& notice : document->database()->readNotices())
            acutPrintf("%s\n", notice.c_str());
    acedZoomExtents();
    return true;
}

bool ConsoleHost::saveDrawing()
{
    if (!options_.save && options_.saveAs.empty()) return true;
    AcApDocManager* documents = acDocManagerPtr();
    AcApDocument* document = documents->curDocument();
    if (!document) {
        std::fprintf(stderr, "zelka: no drawing is open to save\n");
        return false;
    }
    // The input has ended: a question (the file changed on disk) has no answer, so the save is refused.
    std::string error = SessionCommands::saveCurrentDrawing(options_.saveAs, false);
    if (!error.empty()) {
        std::string where = options_.saveAs.empty() ? document->fileName() : options_.saveAs;
        std::fprintf(stderr, "zelka: cannot save the drawing to '%s': %s\n", where.c_str(), error.c_str());
        return false;
    }
    return true;
}
