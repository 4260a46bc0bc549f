#include "ExtractionFixtures.h"

#include "common/ByteOrder.h"
#include "drive/ImageFormats.h"
#include "drive/ImageTarget.h"
#include "support/TestSupport.h"

#include <chrono>
#include <thread>

namespace fs = std::filesystem;
using namespace testing_support;

namespace extraction_test {

GateTarget::GateTarget(std::unique_ptr<ScsiTransport> inner, int32_t gateLba)
    : inner_(std::move(inner)), gateLba_(gateLba)
{
}

ScsiResult GateTarget::Execute(const ScsiCommand& command)
{
    const uint8_t opcode = command.cdb[0];
    if (opcode == 0x28 || opcode == 0xBE) {
        const int32_t lba = int32_t(GetBE32(&command.cdb[2]));
        const uint32_t count = opcode == 0x28 ? (uint32_t(command.cdb[7]) << 8 | command.cdb[8])
                                              : (uint32_t(command.cdb[6]) << 16 | uint32_t(command.cdb[7]) << 8 |
                                                 command.cdb[8]);
        if (lba <= gateLba_ && gateLba_ < lba + int32_t(count)) {
            std::unique_lock lock(mutex_);
            reached_ = true;
            changed_.notify_all();
            changed_.wait(lock, [&] { return released_; });
        }
    }
    return inner_->Execute(command);
}

void GateTarget::WaitUntilReached()
{
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return reached_; });
}

void GateTarget::Release()
{
    std::lock_guard lock(mutex_);
    released_ = true;
    changed_.notify_all();
}

std::unique_ptr<ScsiTransport> OpenImageTarget(const fs::path& path)
{
    auto image = OpenDiscImage(path.string());
    if (!image)
        return nullptr;
    auto target = std::make_unique<ImageTarget>();
    if (!target->Load(*image))
        return nullptr;
    return target;
}

std::unique_ptr<CDevCmdROM> DriveOn(std::unique_ptr<ScsiTransport> transport)
{
    return std::make_unique<CDevCmdROM>("test", std::move(transport), 1);
}

bool MakeJolietIso(const fs::path& folder, const fs::path& iso)
{
    return RunProgram({"genisoimage", "-quiet", "-J", "-joliet-long", "-o", iso.string(), folder.string()})
               .exitCode == 0;
}

bool WaitUntilDone(const CGetCDData& engine)
{
    for (int i = 0; i < 3000; ++i) {
        if (engine.IsDone())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

std::map<std::string, std::string> DescribeTree(const fs::path& root)
{
    std::map<std::string, std::string> tree;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const std::string relative = entry.path().lexically_relative(root).string();
        if (entry.is_symlink() || entry.is_directory()) {
            tree[relative] = entry.is_symlink() ? "link" : "dir";
            continue;
        }
        const CommandResult sum = RunProgram({"sha256sum", entry.path().string()});
        tree[relative] = sum.out.substr(0, 64);
    }
    return tree;
}

} // namespace extraction_test
