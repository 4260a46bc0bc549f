// morvik-cli caps: the device capability report.
#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "tools/DeviceCapabilities.h"

int cli::RunCaps(int argc, char** argv, int first)
{
    const Arguments args = ParseArguments(argc, argv, first, {});
    if (args.positional.size() != 1 || !args.flags.empty())
        return Usage("morvik-cli caps SOURCE");
    std::unique_ptr<CDevCmdROM> drive = OpenSource(args.positional[0]);
    if (!drive)
        return kFailure;
    std::vector<std::string> headers;
    for (const DeviceCapabilities::Column& column : DeviceCapabilities::kColumns)
        headers.push_back(column.header);
    PrintRow(headers);
    for (const CapabilityRow& row : DeviceCapabilities::ReadDeviceCapabilities(*drive))
        PrintRow({row.support, row.label});
    return kSuccess;
}
