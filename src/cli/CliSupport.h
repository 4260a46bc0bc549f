// What every command of morvik-cli shares: opening a SOURCE, printing
// tables, the exit codes and the error line.
#pragma once

#include "drive/CDevCmdROM.h"

#include <memory>
#include <string>
#include <vector>

class ListControl;

namespace cli {

enum ExitCode { kSuccess = 0, kFailure = 1, kUsage = 2 };

struct Arguments {
    std::vector<std::string> positional;
    std::vector<std::string> flags; // "--yes", "-R", ...
    std::vector<std::pair<std::string, std::string>> options; // "--save" FILE

    bool Has(const std::string& flag) const;
    const std::string* Option(const std::string& name) const;
};

// Splits argv: names in valueOptions take the next word as their value.
// Words that parse as numbers ("-1") are positional, never flags.
Arguments ParseArguments(int argc, char** argv, int first, const std::vector<std::string>& valueOptions);

bool ParseNumber(const std::string& text, long long& value);

// A drive's device node or an image file. Prints the system's message and
// returns null when it cannot be used.
std::unique_ptr<CDevCmdROM> OpenSource(const std::string& source);

// The system's own message for a failure, on stderr.
int Fail(const std::string& message);
int Usage(const std::string& message);

// Header line and rows, cells joined by one TAB; columns of width 0 are left out.
void PrintTable(const ListControl& list);
// One line of a table: the cells joined by one TAB.
void PrintRow(const std::vector<std::string>& cells);

} // namespace cli
