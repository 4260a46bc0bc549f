// morvik-cli: every view of Morvik as text, for scripts and tests.
#include "cli/CliSupport.h"
#include "cli/Commands.h"

#include <cstring>
#include <iostream>

namespace {

struct Command {
    const char* name;
    int (*run)(int argc, char** argv, int first);
    const char* synopsis;
};

constexpr Command kCommands[] = {
    {"drives", cli::RunDrives, "drives"},
    {"toc", cli::RunToc, "toc SOURCE"},
    {"tree", cli::RunTree, "tree SOURCE"},
    {"ls", cli::RunLs, "ls [-R] SOURCE [NODE]"},
    {"volume", cli::RunVolume, "volume SOURCE"},
    {"sector", cli::RunSector, "sector SOURCE LBA [--cooked] [--save FILE] [--yes]"},
    {"scan", cli::RunScan, "scan SOURCE"},
    {"caps", cli::RunCaps, "caps SOURCE"},
    {"play", cli::RunPlay, "play SOURCE TRACK"},
    {"extract", cli::RunExtract, "extract SOURCE NODE DEST [--yes]"},
    {"save-track", cli::RunSaveTrack, "save-track SOURCE TRACK OUT [--yes]"},
};

void PrintUsage()
{
    std::cerr << "usage: morvik-cli COMMAND [OPTIONS] [ARGS]\ncommands:\n";
    for (const Command& c : kCommands)
        std::cerr << "  morvik-cli " << c.synopsis << "\n";
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        PrintUsage();
        return cli::kUsage;
    }
    for (const Command& c : kCommands)
        if (std::strcmp(argv[1], c.name) == 0)
            return c.run(argc, argv, 2);
    PrintUsage();
    return cli::kUsage;
}
