#include "infra/SystemUtilities.h"

#include <chrono>
#include <thread>

#include "host/ed/EventPump.h"
#include "infra/ZelkaExceptions.h"

void CSystemUtilities::doEvents() const
{
    zelkaOperation(__FILE__, "CSystemUtilities::doEvents", [&] {
        while (acedPumpEvents()) {
        }
    });
}

void CSystemUtilities::wait(int seconds) const
{
    zelkaOperation(__FILE__, "CSystemUtilities::wait", [&] {
        for (long step = 0; step < static_cast<long>(seconds) * 4; ++step) {
            doEvents();
            std::this_thread::sleep_for(std::chrono::milliseconds(250));
        }
    });
}
