#include "host/ed/acedCommandStatus.h"

#include "host/ed/Editor.h"

void acedCommandFailed()
{
    Editor::instance().markCommandFailed();
}
