#include "support/FakeTarget.h"

#include "common/ByteOrder.h"
#include "drive/MmcCommands.h"

#include <algorithm>
#include <cstring>

namespace {
ScsiResult Check(const SenseData_tag& sense)
{
    ScsiResult r;
    r.status = DriveStatus::CheckCondition;
    r.sense = sense;
    return r;
}

// The sectors a read command covers, or an empty range for other commands.
std::pair<int32_t, uint32_t> ReadRange(const ScsiCommand& c)
{
    if (c.cdb[0] == Mmc::Opcode::Read10)
        return {int32_t(GetBE32(&c.cdb[2])), GetBE16(&c.cdb[7])};
    if (c.cdb[0] == Mmc::Opcode::ReadCd)
        return {int32_t(GetBE32(&c.cdb[2])),
                (uint32_t(c.cdb[6]) << 16) | (uint32_t(c.cdb[7]) << 8) | c.cdb[8]};
    return {0, 0};
}
} // namespace

FakeTarget::FakeTarget(std::unique_ptr<ScsiTransport> inner) : inner_(std::move(inner)) {}

void FakeTarget::SetNotReady(bool notReady)
{
    std::lock_guard lock(mutex_);
    notReady_ = notReady;
}

void FakeTarget::SetNoToc(bool noToc)
{
    std::lock_guard lock(mutex_);
    noToc_ = noToc;
}

void FakeTarget::SetProfile(uint16_t profile)
{
    std::lock_guard lock(mutex_);
    profile_ = profile;
}

void FakeTarget::FailSector(int32_t lba, const SenseData_tag& sense)
{
    std::lock_guard lock(mutex_);
    failingSectors_[lba] = sense;
}

void FakeTarget::RejectOpcode(uint8_t opcode, const SenseData_tag& sense)
{
    std::lock_guard lock(mutex_);
    rejected_[opcode] = sense;
}

void FakeTarget::SetReply(uint8_t opcode, std::vector<uint8_t> reply)
{
    std::lock_guard lock(mutex_);
    replies_[opcode] = std::move(reply);
}

int FakeTarget::CountOf(uint8_t opcode) const
{
    std::lock_guard lock(mutex_);
    int total = 0;
    for (const auto& [key, count] : counts_)
        if (key.first == opcode)
            total += count;
    return total;
}

int FakeTarget::CountOf(uint8_t opcode, uint8_t tocFormat) const
{
    std::lock_guard lock(mutex_);
    const auto it = counts_.find({opcode, tocFormat});
    return it == counts_.end() ? 0 : it->second;
}

void FakeTarget::ResetCounts()
{
    std::lock_guard lock(mutex_);
    counts_.clear();
}

ScsiResult FakeTarget::Execute(const ScsiCommand& c)
{
    const uint8_t opcode = c.cdb[0];
    {
        std::lock_guard lock(mutex_);
        const uint8_t format = opcode == Mmc::Opcode::ReadTocPmaAtip ? (c.cdb[2] & 0x0F) : 0;
        ++counts_[{opcode, format}];
        if (c.data && c.dataLength)
            std::memset(c.data, 0, c.dataLength);
        if (const auto it = rejected_.find(opcode); it != rejected_.end())
            return Check(it->second);
        if (notReady_ && opcode != Mmc::Opcode::Inquiry && opcode != Mmc::Opcode::GetConfiguration &&
            opcode != Mmc::Opcode::ModeSense10)
            return Check(Sense::NotReadyNoMedium);
        if (noToc_ && opcode == Mmc::Opcode::ReadTocPmaAtip)
            return Check(Sense::InvalidFieldInCdb);
        if (const auto it = replies_.find(opcode); it != replies_.end()) {
            ScsiResult r;
            r.transferred = uint32_t(std::min<size_t>(c.dataLength, it->second.size()));
            std::memcpy(c.data, it->second.data(), r.transferred);
            return r;
        }
        const auto [first, count] = ReadRange(c);
        for (uint32_t i = 0; i < count; ++i)
            if (const auto it = failingSectors_.find(first + int32_t(i)); it != failingSectors_.end())
                return Check(it->second);
    }
    if (!inner_)
        return Check(Sense::NotReadyNoMedium);
    ScsiResult result = inner_->Execute(c);
    std::lock_guard lock(mutex_);
    if (opcode == Mmc::Opcode::GetConfiguration && profile_ >= 0 && result.status == 0 && c.dataLength >= 8)
        PutBE16(c.data + 6, uint32_t(profile_));
    return result;
}
