#include "support/TestSupport.h"

#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace testing_support {

TempDir::TempDir()
{
    std::string pattern = (fs::temp_directory_path() / "morvik-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        std::abort();
    path_ = pattern;
}

TempDir::~TempDir()
{
    std::error_code ec;
    fs::remove_all(path_, ec);
}

pid_t StartProgram(const std::vector<std::string>& argv, const fs::path& out, const fs::path& err)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int outFd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int errFd = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int inFd = ::open("/dev/null", O_RDONLY);
        ::dup2(outFd, 1);
        ::dup2(errFd, 2);
        ::dup2(inFd, 0);
        std::vector<char*> args;
        for (const std::string& a : argv)
            args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        ::execvp(args[0], args.data());
        ::_exit(127);
    }
    return pid;
}

CommandResult RunProgram(const std::vector<std::string>& argv)
{
    CommandResult result;
    TempDir scratch;
    const fs::path outPath = scratch.Path() / "out";
    const fs::path errPath = scratch.Path() / "err";
    int status = 0;
    ::waitpid(StartProgram(argv, outPath, errPath), &status, 0);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    result.out = ReadFile(outPath);
    result.err = ReadFile(errPath);
    return result;
}

CommandResult RunCli(const std::vector<std::string>& args)
{
    std::vector<std::string> argv = {MORVIK_CLI_PATH};
    argv.insert(argv.end(), args.begin(), args.end());
    return RunProgram(argv);
}

bool HaveTool(const std::string& name)
{
    return RunProgram({"sh", "-c", "command -v " + name}).exitCode == 0;
}

fs::path TestData(const std::string& relative) { return fs::path(MORVIK_TESTDATA_DIR) / relative; }

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteFile(const fs::path& path, const std::string& content)
{
    std::ofstream out(path, std::ios::binary);
    out << content;
}

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line))
        lines.push_back(line);
    return lines;
}

} // namespace testing_support
