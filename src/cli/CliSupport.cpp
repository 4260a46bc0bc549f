#include "cli/CliSupport.h"

#include "drive/SgIoTransport.h"
#include "explorer/TreeListControls.h"
#include "common/StringTable.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <sys/stat.h>

namespace cli {

bool Arguments::Has(const std::string& flag) const
{
    return std::find(flags.begin(), flags.end(), flag) != flags.end();
}

const std::string* Arguments::Option(const std::string& name) const
{
    for (const auto& [key, value] : options)
        if (key == name)
            return &value;
    return nullptr;
}

bool ParseNumber(const std::string& text, long long& value)
{
    if (text.empty())
        return false;
    char* end = nullptr;
    errno = 0;
    value = std::strtoll(text.c_str(), &end, 10);
    return errno == 0 && end && *end == '\0';
}

Arguments ParseArguments(int argc, char** argv, int first, const std::vector<std::string>& valueOptions)
{
    Arguments args;
    for (int i = first; i < argc; ++i) {
        const std::string word = argv[i];
        long long number = 0;
        if (word.size() > 1 && word[0] == '-' && !ParseNumber(word, number)) {
            const bool takesValue =
                std::find(valueOptions.begin(), valueOptions.end(), word) != valueOptions.end();
            if (takesValue && i + 1 < argc)
                args.options.emplace_back(word, argv[++i]);
            else
                args.flags.push_back(word);
        } else {
            args.positional.push_back(word);
        }
    }
    return args;
}

int Fail(const std::string& message)
{
    std::cerr << message << std::endl;
    return kFailure;
}

int Usage(const std::string& message)
{
    std::cerr << "usage: " << message << std::endl;
    return kUsage;
}

std::unique_ptr<CDevCmdROM> OpenSource(const std::string& source)
{
    struct stat st {};
    if (::stat(source.c_str(), &st) == 0 && S_ISBLK(st.st_mode))
        return std::make_unique<CDevCmdROM>(source, std::make_unique<SgIoTransport>(source), 1);
    auto entry = std::make_unique<CDevCmdROM>();
    if (!entry->SetImageFile(source)) {
        Fail(StringTable::Text(StringTable::NotValidImage));
        return nullptr;
    }
    return entry;
}

void PrintRow(const std::vector<std::string>& cells)
{
    std::string line;
    for (size_t i = 0; i < cells.size(); ++i) {
        if (i)
            line += '\t';
        line += cells[i];
    }
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), stdout);
}

void PrintTable(const ListControl& list)
{
    std::vector<int> shown;
    for (int c = 0; c < list.GetColumnCount(); ++c)
        if (list.GetColumnWidth(c) != 0)
            shown.push_back(c);
    auto emit = [&](auto cell) {
        std::vector<std::string> cells;
        for (int c : shown)
            cells.push_back(cell(c));
        PrintRow(cells);
    };
    emit([&](int c) { return list.GetColumnHeader(c); });
    for (int r = 0; r < list.GetRowCount(); ++r)
        emit([&](int c) { return list.GetItemText(r, c); });
}

} // namespace cli
