#include "app/SessionCommands.h"

#include <sys/stat.h>

#include <cctype>
#include <filesystem>

#include "host/db/AcDbDatabase.h"
#include "host/ed/AcApDocManager.h"
#include "host/ed/AcEdCommandStack.h"
#include "host/ed/Editor.h"
#include "host/ed/acedInput.h"
#include "host/ed/acutPrintf.h"
#include "host/ui/MessageBox.h"

namespace {

constexpr const char* kGroup = "ACAD_SESSION";
bool quitting = false;

// Shows a failure on the command line and marks the command failed.
void failCommand(const std::string& message)
{
    acutPrintf("%s\n", message.c_str());
    Editor::instance().markCommandFailed();
}

bool sameFile(const std::string& a, const std::string& b)
{
    struct stat first {}, second {};
    return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 && first.st_dev == second.st_dev &&
           first.st_ino == second.st_ino;
}

// Asks for a file name and saves the drawing under it. Returns false when
// nothing was saved (cancelled or failed).
bool saveUnderNewName()
{
    AcApDocument* document = acDocManagerPtr()->curDocument();
    if (!document) {
        failCommand("No drawing is open.");
        return false;
    }
    const std::string current = document->fileName();
    std::string prompt = "Save drawing as";
    if (!current.empty()) prompt += " <" + current + ">";
    prompt += ": ";
    std::string name;
    if (acedGetString(1, prompt.c_str(), name) != RTNORM) {
        acutPrintf("*Cancel*\n");
        return false;
    }
    if (name.empty()) name = current;
    if (name.empty()) {
        acutPrintf("*Cancel*\n");
        return false;
    }
    std::filesystem::path file(name);
    std::string extension = file.extension().string();
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (extension.empty()) {
        name += ".dxf";
    } else if (extension == ".dwg") {
        failCommand("DWG files cannot be written; give a name ending in .dxf.");
        return false;
    }
    std::error_code ec;
    if (std::filesystem::exists(name, ec) && !(current.size() && sameFile(name, current))) {
        int answer = MessageBoxA(nullptr, (name + " already exists.\nDo you want to replace it?").c_str(),
                                 "Save Drawing As", MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2);
        if (answer != IDYES) {
            acutPrintf("*Cancel*\n");
            return false;
        }
    }
    std::string error = SessionCommands::saveCurrentDrawing(name, true);
    if (!error.empty()) {
        failCommand(error);
        return false;
    }
    acutPrintf("Saved %s\n", name.c_str());
    return true;
}

// Saves the drawing to its own file (asking for a name when it has none).
bool saveToOwnFile()
{
    AcApDocument* document = acDocManagerPtr()->curDocument();
    if (!document) {
        failCommand("No drawing is open.");
        return false;
    }
    if (document->fileName().empty()) return saveUnderNewName();
    std::string error = SessionCommands::saveCurrentDrawing("", true);
    if (!error.empty()) {
        failCommand(error);
        return false;
    }
    acutPrintf("Saved %s\n", document->fileName().c_str());
    return true;
}

void saveCommand() { saveToOwnFile(); }

void saveAsCommand() { saveUnderNewName(); }

void quitCommand()
{
    AcApDocument* document = acDocManagerPtr()->curDocument();
    if (document && document->isModified()) {
        std::string name = document->fileName().empty() ? std::string("the new drawing") : document->fileName();
        int answer = MessageBoxA(nullptr, ("Save changes to " + name + "?").c_str(), "zelka",
                                 MB_YESNOCANCEL | MB_ICONQUESTION);
        if (answer == IDCANCEL) {
            acutPrintf("*Cancel*\n");
            return;
        }
        // A save that fails or is cancelled keeps the session, so nothing is lost.
        if (answer == IDYES && !saveToOwnFile()) return;
    }
    quitting = true;
}

}  // namespace

namespace SessionCommands {

void registerCommands()
{
    AcEdCommandStack* commands = acedRegCmds();
    commands->addCommand(kGroup, "SAVE", "SAVE", ACRX_CMD_MODAL, saveCommand);
    commands->addCommand(kGroup, "QSAVE", "QSAVE", ACRX_CMD_MODAL, saveCommand);
    commands->addCommand(kGroup, "SAVEAS", "SAVEAS", ACRX_CMD_MODAL, saveAsCommand);
    commands->addCommand(kGroup, "QUIT", "QUIT", ACRX_CMD_MODAL, quitCommand);
    commands->addCommand(kGroup, "EXIT", "EXIT", ACRX_CMD_MODAL, quitCommand);
}

void unregisterCommands() { acedRegCmds()->removeGroup(kGroup); }

bool quitRequested() { return quitting; }

std::string saveCurrentDrawing(const std::string& path, bool mayAsk)
{
    AcApDocManager* documents = acDocManagerPtr();
    AcApDocument* document = documents->curDocument();
    if (!document) return "no drawing is open to save";
    const std::string target = path.empty() ? document->fileName() : path;
    bool replace = false;
    if (!document->isReadOnly() && documents->changedOnDisk(document, target.c_str())) {
        if (!mayAsk) {
            return target + " was changed on disk since it was opened (by another program or session); it was "
                            "not overwritten. Save the drawing under another name (--save-as FILE)";
        }
        int answer = MessageBoxA(nullptr,
                                 (target + " was changed on disk since it was opened, by another program or "
                                           "session.\nReplace it with this drawing? (The file on disk is kept as " +
                                  target + ".bak.)")
                                     .c_str(),
                                 "Drawing Changed on Disk", MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2);
        if (answer != IDYES) return target + " was left as it is on disk; the drawing was not saved";
        replace = true;
    }
    if (documents->saveDocument(document, path.empty() ? nullptr : path.c_str(), replace) != Acad::eOk) {
        return documents->lastSaveError();
    }
    return std::string();
}

}  // namespace SessionCommands
