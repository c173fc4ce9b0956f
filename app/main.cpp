// zelka: the console CAD host that loads the Zelka module.
#include <cstdio>
#include <cstring>

namespace {

void printUsage()
{
    std::printf(
        "Usage: zelka [OPTIONS] [DRAWING]\n"
        "\n"
        "Zelka records the spaces of buildings in CAD floor plans.\n"
        "\n"
        "Options:\n"
        "  --version   print the version and exit\n"
        "  --help      print this help and exit\n");
}

}  // namespace

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("zelka %s\n", ZELKA_VERSION_TEXT);
            return 0;
        }
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            printUsage();
            return 0;
        }
        std::fprintf(stderr, "zelka: unknown option '%s' (try --help)\n", argv[i]);
        return 2;
    }
    printUsage();
    return 0;
}
