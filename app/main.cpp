// zelka: the console CAD host that loads the Zelka module.
#include <cstdio>

#include "ZelkaVersion.h"
#include "app/CommandLineOptions.h"
#include "app/ConsoleHost.h"
#include "app/Transcript.h"

int main(int argc, char** argv)
{
    Transcript::prepareStandardStreams();
    CommandLineOptions options;
    if (!options.parse(argc, argv)) {
        std::fprintf(stderr, "zelka: %s (try --help)\n", options.error().c_str());
        return 2;
    }
    if (options.showHelp) {
        std::fputs(CommandLineOptions::usage().c_str(), stdout);
        return 0;
    }
    if (options.showVersion) {
        std::printf("zelka %s\n", ZELKA_VERSION);
        return 0;
    }
    ConsoleHost host(std::move(options));
    return host.run();
}
