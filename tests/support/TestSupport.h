// Helpers shared by the test programs: temporary folders, running tools and
// morvik-cli, the third-party test corpus.
#pragma once

#include <filesystem>
#include <string>
#include <sys/types.h>
#include <vector>

namespace testing_support {

// A fresh folder, removed with everything in it when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& Path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

struct CommandResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Starts argv without a shell, its output and errors going to files and
// its input from /dev/null; the caller waits for the process it returns.
pid_t StartProgram(const std::vector<std::string>& argv, const std::filesystem::path& out,
                   const std::filesystem::path& err);
// Runs argv without a shell; stdout and stderr captured.
CommandResult RunProgram(const std::vector<std::string>& argv);
// Runs morvik-cli with these arguments.
CommandResult RunCli(const std::vector<std::string>& args);
// True when a program is on PATH (tests that need a tool skip without it).
bool HaveTool(const std::string& name);

std::filesystem::path TestData(const std::string& relative);
std::string ReadFile(const std::filesystem::path& path);
void WriteFile(const std::filesystem::path& path, const std::string& content);
std::vector<std::string> SplitLines(const std::string& text);

} // namespace testing_support
