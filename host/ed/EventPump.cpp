#include "host/ed/EventPump.h"

namespace {

EventPump& currentPump()
{
    static EventPump pump;
    return pump;
}

}  // namespace

EventPump setEventPump(EventPump pump)
{
    EventPump previous = std::move(currentPump());
    currentPump() = std::move(pump);
    return previous;
}

bool acedPumpEvents()
{
    // A copy, so a pump that replaces itself while running stays alive.
    EventPump pump = currentPump();
    return pump ? pump() : false;
}
