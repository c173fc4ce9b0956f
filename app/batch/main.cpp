// zelka-batch: prepares the graphic reports waiting in the property database
// (open, apply, plot, save a copy, write the XML, record the status), with
// one or more worker processes, and queues reports for it.

#include <cstdio>

#include "app/batch/BatchDriver.h"
#include "app/batch/BatchOptions.h"

int main(int argc, char** argv)
{
    BatchOptions options;
    if (!options.parse(argc, argv)) {
        std::fprintf(stderr, "zelka-batch: %s\n%s", options.error().c_str(), BatchOptions::usage().c_str());
        return 2;
    }
    if (options.action == "help") {
        std::fputs(BatchOptions::usage().c_str(), stdout);
        return 0;
    }
    return BatchDriver(options).execute();
}
