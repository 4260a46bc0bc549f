#include "drive/DevDeque.h"

#include "drive/SgIoTransport.h"

#include <algorithm>
#include <filesystem>
#include <regex>

namespace fs = std::filesystem;

namespace {

// sr0, sr1, ... sr10 in numeric order.
bool ByNodeNumber(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return a.size() < b.size();
    return a < b;
}

std::vector<std::string> ListNodes(const fs::path& folder, const std::string& devFolder)
{
    static const std::regex kOptical("sr[0-9]+");
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        const std::string name = entry.path().filename().string();
        if (std::regex_match(name, kOptical))
            names.push_back(name);
    }
    std::sort(names.begin(), names.end(), ByNodeNumber);
    for (std::string& name : names)
        name = devFolder + name;
    return names;
}

} // namespace

std::vector<std::string> DevDeque::FindOpticalDeviceNodes()
{
    std::vector<std::string> nodes = ListNodes("/sys/class/block", "/dev/");
    if (nodes.empty())
        nodes = ListNodes("/dev", "/dev/");
    return nodes;
}

DevDeque::DevDeque()
{
    uint8_t id = 1;
    for (const std::string& node : FindOpticalDeviceNodes())
        items_.push_back(std::make_unique<CDevCmdROM>(node, std::make_unique<SgIoTransport>(node), id++));
    items_.push_back(std::make_unique<CDevCmdROM>());
}

DevDeque::DevDeque(std::vector<std::unique_ptr<CDevCmdROM>> drives) : items_(std::move(drives))
{
    items_.push_back(std::make_unique<CDevCmdROM>());
}

CDevCmdROM* DevDeque::GetDequeItem(int index)
{
    if (index < 0 || index >= int(items_.size()))
        return nullptr;
    return items_[size_t(index)].get();
}
