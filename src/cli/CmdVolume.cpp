// morvik-cli volume SOURCE: the volume information rows for the descriptor
// and file-system code the probe left.
#include "cli/CliExplorer.h"
#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "filesystems/VolumeInfo.h"

int cli::RunVolume(int argc, char** argv, int first)
{
    const Arguments args = ParseArguments(argc, argv, first, {});
    if (args.positional.size() != 1 || !args.flags.empty())
        return Usage("morvik-cli volume SOURCE");
    const auto session = ProbeSource(args.positional[0]);
    if (!session)
        return kFailure;
    MemoryList rows;
    VolumeInfo::InsertColumns(rows);
    VolumeInfo::Show(rows, session->descriptor, sizeof session->descriptor, session->explorer->GetFileSystemKind());
    PrintTable(rows);
    return kSuccess;
}
