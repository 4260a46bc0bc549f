// Extraction of a fuzzed plain image's every data track into a folder
// a/b/dest: afterwards a/b must hold dest and nothing else, and nothing may
// appear beside a, whatever names and links the image records.
#include "FuzzInput.h"
#include "FuzzProbe.h"

#include "extraction/CGetCDData.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <thread>

namespace fs = std::filesystem;

namespace {

constexpr size_t kMinSectors = 20;

std::set<std::string> Names(const fs::path& folder)
{
    std::set<std::string> names;
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, ec))
        names.insert(entry.path().filename().string());
    return names;
}

void Require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "extraction escaped its folder: %s\n", what);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const fs::path root = FuzzFolder();
    const fs::path outer = root / "a";
    const fs::path parent = outer / "b";
    fs::remove_all(outer);
    fs::create_directories(parent);

    FuzzProbe probe;
    if (!probe.Open(WritePlainImage("image.iso", data, size, kMinSectors)))
        return 0;
    // A plain image is one data track starting at sector 0.
    int copy = 0;
    for (NodeHandle session = probe.tree.GetRootNode(); session != kNoNode;
         session = probe.tree.GetNextSiblingNode(session)) {
        for (NodeHandle track = probe.tree.GetChildNode(session); track != kNoNode;
             track = probe.tree.GetNextSiblingNode(track)) {
            const uint64_t location = probe.tree.GetItemData(track);
            if (location == 0)
                continue;
            CGetCDData engine;
            engine.SetDevice(&probe.drive);
            const std::string dest = (parent / ("dest" + std::to_string(copy++))).string();
            if (!engine.StartSaveFolder(probe.explorer.GetSectorMode(), location, dest,
                                        probe.explorer.GetNodeFileSystem(probe.tree, track, &probe.drive),
                                        probe.explorer.IsJoliet(), 0))
                continue;
            while (!engine.IsDone())
                std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
    }

    for (const std::string& name : Names(parent))
        Require(name.rfind("dest", 0) == 0, "a/b holds more than the destinations");
    Require(Names(outer) == std::set<std::string>{"b"}, "a holds more than b");
    for (const std::string& name : Names(root))
        Require(name == "a" || name == "image.iso", "the fuzz folder holds more than the image and a");
    return 0;
}
