#include "FuzzInput.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

const std::string& FuzzFolder()
{
    // Leaked on purpose: the exit handler below still needs it.
    static const std::string& folder = *new std::string([] {
        const char* base = std::filesystem::exists("/dev/shm") ? "/dev/shm" : "/tmp";
        std::string path = std::string(base) + "/morvik-fuzz-" + std::to_string(::getpid());
        std::filesystem::create_directories(path);
        std::atexit([] { std::filesystem::remove_all(FuzzFolder()); });
        return path;
    }());
    return folder;
}

std::string WriteFuzzFile(const std::string& name, const uint8_t* data, size_t size)
{
    const std::string path = FuzzFolder() + "/" + name;
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    return path;
}
