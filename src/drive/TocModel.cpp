#include "drive/TocModel.h"

namespace {
constexpr int kDescriptorSize = 11;
constexpr uint8_t kPointFirstTrack = 0xA0;
constexpr uint8_t kPointLastTrack = 0xA1;
constexpr uint8_t kPointLeadOut = 0xA2;

bool IsAdr1(const TocData::_Data& entry) { return (entry[0] >> 4) == 1; }
} // namespace

const TocData::_Data* TocData::FindPoint(int point) const
{
    for (const _Data& entry : entries_)
        if (IsAdr1(entry) && entry.GetTrackIndex() == point)
            return &entry;
    return nullptr;
}

int TocData::GetFirstTrackNo() const
{
    const _Data* entry = FindPoint(kPointFirstTrack);
    return entry ? (*entry)[7] : 0;
}

int TocData::GetLastTrackNo() const
{
    const _Data* entry = FindPoint(kPointLastTrack);
    return entry ? (*entry)[7] : -1;
}

bool TocData::GetTrackData(int track, _Data& entry) const
{
    if (track < 1 || track > 99)
        return false;
    const _Data* found = FindPoint(track);
    if (!found)
        return false;
    entry = *found;
    return true;
}

const TocData::_Data* TocData::GetTrackData(int track) const
{
    return (track >= 1 && track <= 99) ? FindPoint(track) : nullptr;
}

uint32_t TocData::GetLeadOutStartPos() const
{
    const _Data* entry = FindPoint(kPointLeadOut);
    if (!entry)
        return 0;
    const MsfAddress msf{(*entry)[6], (*entry)[7], (*entry)[8], (*entry)[9]};
    return uint32_t(msf.ToLba());
}

uint8_t TocData::GetDiscType() const
{
    const _Data* entry = FindPoint(kPointFirstTrack);
    return entry ? (*entry)[8] : 0;
}

SessionInfo::SessionInfo(const unsigned char* descriptors, int length)
{
    if (descriptors == nullptr || length <= 0)
        return;
    for (int offset = 0; offset + kDescriptorSize <= length; offset += kDescriptorSize) {
        const unsigned char* d = descriptors + offset;
        const int sessionNumber = d[0];
        TocData::_Data entry;
        for (int i = 0; i < 10; ++i)
            entry[i] = d[i + 1];
        auto it = sessions_.begin();
        while (it != sessions_.end() && it->GetSessNo() < sessionNumber)
            ++it;
        if (it == sessions_.end() || it->GetSessNo() != sessionNumber)
            it = sessions_.insert(it, TocData(sessionNumber));
        it->add(entry);
    }
}
