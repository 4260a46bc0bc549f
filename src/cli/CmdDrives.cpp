// morvik-cli drives: the lines of the device selection list.
#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "drive/DevDeque.h"
#include "drive/DriveLabel.h"

#include <iostream>

int cli::RunDrives(int argc, char** argv, int first)
{
    const Arguments args = ParseArguments(argc, argv, first, {});
    if (!args.positional.empty() || !args.flags.empty())
        return Usage("morvik-cli drives");
    DevDeque drives;
    for (const std::string& line : DeviceListLines(drives))
        std::cout << line << "\n";
    return kSuccess;
}
