// morvik-cli toc SOURCE: the rows of the table-of-contents view.
#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "common/StringTable.h"
#include "explorer/MemoryControls.h"
#include "tools/TocTable.h"

int cli::RunToc(int argc, char** argv, int first)
{
    const Arguments args = ParseArguments(argc, argv, first, {});
    if (args.positional.size() != 1 || !args.flags.empty())
        return Usage("morvik-cli toc SOURCE");
    const std::unique_ptr<CDevCmdROM> drive = OpenSource(args.positional[0]);
    if (!drive)
        return kFailure;
    MemoryList list;
    if (TocTable::FillToc(*drive, list) == TocTable::FillResult::NotReady)
        return Fail(StringTable::Text(StringTable::DeviceNotReady));
    PrintTable(list);
    return kSuccess;
}
