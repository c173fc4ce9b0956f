#pragma once
#include <functional>

// The host's event pump. A graphical front end installs a pump that handles
// one pending window event; the console has none, so pumping does nothing.

// Handles one pending event and returns true, or returns false when none was
// waiting or the application is quitting. False when no pump is installed.
using EventPump = std::function<bool()>;

// Installs a pump; an empty function removes it. Returns the pump installed before.
EventPump setEventPump(EventPump pump);

// Lets the front end handle one pending event; false when none was handled.
bool acedPumpEvents();
