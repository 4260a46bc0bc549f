// morvik-cli scan: the error list of a full disc scan, progress on stderr.
#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "common/StringTable.h"
#include "tools/DiscScanner.h"

#include <cstdio>

int cli::RunScan(int argc, char** argv, int first)
{
    const Arguments args = ParseArguments(argc, argv, first, {});
    if (args.positional.size() != 1 || !args.flags.empty())
        return Usage("morvik-cli scan SOURCE");
    std::unique_ptr<CDevCmdROM> drive = OpenSource(args.positional[0]);
    if (!drive)
        return kFailure;
    if (drive->TestUnitReady() != 0)
        return Fail(StringTable::Text(StringTable::DeviceNotReady));

    std::vector<std::string> headers;
    for (const ScanList::Column& column : ScanList::kColumns)
        headers.push_back(column.header);
    PrintRow(headers);
    // Only the worker prints while it runs; Wait joins it before we go on.
    ScanEnd end = ScanEnd::Stopped;
    DiscScanner scanner({[](int percent) { std::fprintf(stderr, "\r%3d%%", percent); },
                         [](int, const ScanError& error) {
                             const auto cells = ScanList::RowTexts(error);
                             PrintRow({cells.begin(), cells.end()});
                         },
                         [&end](ScanEnd how) { end = how; }});
    if (scanner.Start(*drive) != DiscScanner::StartResult::Started)
        return Fail(StringTable::Text(StringTable::DeviceNotReady));
    scanner.Wait();
    std::fputc('\n', stderr);
    if (end == ScanEnd::NoTrackRange)
        return Fail("the disc's tracks cannot be found");
    return end == ScanEnd::Completed ? kSuccess : kFailure;
}
