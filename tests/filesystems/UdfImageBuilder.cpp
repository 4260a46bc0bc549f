#include "UdfImageBuilder.h"

#include "common/ByteOrder.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr uint32_t kSector = 2048;
constexpr uint64_t kAnchor = 256;
constexpr uint64_t kSequence = 257; // PVD, PD, LVD, terminator
constexpr uint64_t kIntegrity = 261;
constexpr uint32_t kPacket = 32;
constexpr uint32_t kNone = 0xFFFFFFFF;

void PutLE64(uint8_t* p, uint64_t v)
{
    PutLE32(p, uint32_t(v));
    PutLE32(p + 4, uint32_t(v >> 32));
}

void Seal(uint8_t* descriptor, uint16_t id, uint32_t location)
{
    PutLE16(descriptor, id);
    PutLE16(descriptor + 2, 2);
    PutLE32(descriptor + 12, location);
    uint8_t sum = 0;
    for (int i = 0; i < 16; ++i)
        if (i != 4)
            sum = uint8_t(sum + descriptor[i]);
    descriptor[4] = sum;
}

void PutIdentifier(uint8_t* field, const char* text) { std::memcpy(field + 1, text, std::strlen(text)); }

void PutTimestamp(uint8_t* p)
{
    PutLE16(p, 0x1000);
    PutLE16(p + 2, 2024);
    p[4] = 2;
    p[5] = 29;
    p[6] = 13;
    p[7] = 5;
    p[8] = 9;
}

void PutLongAd(uint8_t* p, uint32_t length, uint32_t block, uint16_t ref)
{
    PutLE32(p, length);
    PutLE32(p + 4, block);
    PutLE16(p + 8, ref);
}

std::vector<uint32_t> CodePoints(const std::string& utf8)
{
    std::vector<uint32_t> points;
    for (size_t i = 0; i < utf8.size();) {
        const uint8_t c = uint8_t(utf8[i]);
        const int extra = c < 0x80 ? 0 : c < 0xE0 ? 1 : c < 0xF0 ? 2 : 3;
        uint32_t point = extra == 0 ? c : c & (0x3F >> extra);
        for (int k = 1; k <= extra && i + size_t(k) < utf8.size(); ++k)
            point = (point << 6) | (uint8_t(utf8[i + size_t(k)]) & 0x3F);
        points.push_back(point);
        i += size_t(extra) + 1;
    }
    return points;
}
} // namespace

std::string EncodeOstaName(const std::string& utf8)
{
    const std::vector<uint32_t> points = CodePoints(utf8);
    const bool narrow = std::all_of(points.begin(), points.end(), [](uint32_t p) { return p < 0x100; });
    std::string out(1, char(narrow ? 8 : 16));
    for (uint32_t p : points) {
        if (narrow) {
            out += char(p);
            continue;
        }
        auto unit = [&out](uint32_t u) {
            out += char(u >> 8);
            out += char(u & 0xFF);
        };
        if (p >= 0x10000) {
            unit(0xD800 + ((p - 0x10000) >> 10));
            unit(0xDC00 + ((p - 0x10000) & 0x3FF));
        } else {
            unit(p);
        }
    }
    return out;
}

UdfImageBuilder::UdfImageBuilder(Options options) : options_(std::move(options))
{
    entries_.emplace_back();
    entries_.back().folder = true;
}

int UdfImageBuilder::AddFolder(int parent, const std::string& name)
{
    entries_.emplace_back();
    entries_.back().folder = true;
    entries_.back().parent = parent;
    const int index = int(entries_.size()) - 1;
    entries_[size_t(parent)].children.push_back({name, index, true});
    return index;
}

int UdfImageBuilder::AddFile(int parent, const std::string& name, std::string data)
{
    entries_.emplace_back();
    entries_.back().data = std::move(data);
    entries_.back().parent = parent;
    const int index = int(entries_.size()) - 1;
    entries_[size_t(parent)].children.push_back({name, index, false});
    return index;
}

void UdfImageBuilder::AddLink(int parent, const std::string& name, int target, bool asFolder)
{
    entries_[size_t(parent)].children.push_back({name, target, asFolder});
}

void UdfImageBuilder::SetDeclaredLength(int entry, uint64_t length) { entries_[size_t(entry)].declaredLength = length; }

uint8_t* UdfImageBuilder::Block(uint64_t absolute) { return &image_[absolute * options_.blockSize]; }

uint64_t UdfImageBuilder::MetadataAbsolute(uint32_t block) const
{
    return block < metadataFirstRun_ ? PhysicalAbsolute(metadataRunStart_[0] + block)
                                     : PhysicalAbsolute(metadataRunStart_[1] + block - metadataFirstRun_);
}

uint64_t UdfImageBuilder::EntrySpaceAbsolute(uint32_t block) const
{
    return options_.layout == Layout::Metadata ? MetadataAbsolute(block) : PhysicalAbsolute(block);
}

std::vector<UdfImageBuilder::Run> UdfImageBuilder::Allocate(uint32_t& next, uint64_t bytes) const
{
    std::vector<Run> runs;
    const uint32_t bs = options_.blockSize;
    uint64_t blocks = (bytes + bs - 1) / bs;
    while (blocks > 0) {
        const uint32_t take = uint32_t(options_.maxExtentBlocks ? std::min<uint64_t>(blocks, options_.maxExtentBlocks) : blocks);
        const uint64_t runBytes = std::min<uint64_t>(uint64_t(take) * bs, bytes);
        runs.push_back({next, uint32_t(runBytes)});
        next += take + (options_.maxExtentBlocks ? 1 : 0);
        bytes -= runBytes;
        blocks -= take;
    }
    return runs;
}

std::string UdfImageBuilder::FolderIdentifiers(const Entry& folder, int self) const
{
    const uint16_t ref = (options_.layout == Layout::Plain || options_.layout == Layout::Sparable) ? 0 : 1;
    std::string out;
    auto add = [&](const std::string& cs0, int target, uint8_t characteristics) {
        const size_t liu = options_.fidImplementationUse;
        std::string fid((38 + liu + cs0.size() + 3) & ~size_t(3), '\0');
        uint8_t* p = reinterpret_cast<uint8_t*>(fid.data());
        PutLE16(p + 16, 1);
        p[18] = characteristics;
        p[19] = uint8_t(cs0.size());
        PutLongAd(p + 20, options_.blockSize, entries_[size_t(target)].icbBlock, ref);
        PutLE16(p + 36, uint16_t(liu));
        std::memcpy(p + 38 + liu, cs0.data(), cs0.size());
        Seal(p, 257, 0);
        out += fid;
    };
    add("", self == kRoot ? kRoot : folder.parent, 0x0A);
    for (const Link& child : folder.children)
        add(EncodeOstaName(child.name), child.target, child.folder ? 0x02 : 0x00);
    return out;
}

void UdfImageBuilder::WriteEntry(int index, const std::string& content)
{
    Entry& entry = entries_[size_t(index)];
    const uint32_t bs = options_.blockSize;
    const bool extended = options_.extendedEntries;
    const size_t adStart = extended ? 216 : 176;
    const bool metadataData = options_.layout == Layout::Metadata && entry.folder;
    const bool shortAds = options_.layout == Layout::Plain || options_.layout == Layout::Sparable || metadataData;
    const bool embedded = options_.embedData && adStart + content.size() <= bs;
    uint32_t& next = metadataData ? nextEntrySpace_ : nextPhysical_;
    auto absolute = [&](uint32_t block) { return metadataData ? MetadataAbsolute(block) : PhysicalAbsolute(block); };

    uint8_t* fe = Block(EntrySpaceAbsolute(entry.feBlock));
    std::memset(fe, 0, bs);
    fe[20 + 0] = 4; // strategy 4
    PutLE16(fe + 22, 0);
    PutLE16(fe + 24, 1);
    fe[27] = entry.folder ? 4 : 5;
    PutLE32(fe + 36, kNone);
    PutLE32(fe + 40, kNone);
    PutLE16(fe + 48, 1);
    PutLE64(fe + 56, entry.declaredLength != UINT64_MAX ? entry.declaredLength : content.size());
    PutTimestamp(fe + (extended ? 92 : 84));

    std::string ads;
    if (embedded) {
        PutLE16(fe + 34, 3);
        ads = content;
    } else {
        const std::vector<Run> runs = Allocate(next, content.size());
        size_t written = 0;
        for (const Run& run : runs) {
            for (uint32_t b = 0; b * bs < run.length; ++b) {
                const size_t piece = std::min<size_t>(bs, run.length - b * bs);
                std::memcpy(Block(absolute(run.block + b)), content.data() + written, piece);
                written += piece;
            }
        }
        if (!runs.empty())
            entry.dataByte = absolute(runs.front().block) * bs;
        auto descriptor = [&](uint32_t length, uint32_t block) {
            std::string ad(shortAds ? 8 : 16, '\0');
            uint8_t* p = reinterpret_cast<uint8_t*>(ad.data());
            PutLE32(p, length);
            PutLE32(p + 4, block);
            return ad;
        };
        // The entry holds the first descriptors; the rest go to a chain of
        // Allocation Extent Descriptors, each ending in the next one's address.
        const size_t limit = options_.descriptorsInEntry ? options_.descriptorsInEntry : runs.size();
        const size_t perBlock = (bs - 24) / descriptor(0, 0).size() - 1;
        std::string inEntry;
        for (size_t i = 0; i < std::min(limit, runs.size()); ++i)
            inEntry += descriptor(runs[i].length, runs[i].block);
        std::string* tail = &inEntry;
        std::vector<std::pair<uint32_t, std::string>> chain;
        for (size_t i = limit; i < runs.size(); ++i) {
            if ((i - limit) % perBlock == 0) {
                const uint32_t aedBlock = next++;
                *tail += descriptor((3u << 30) | bs, aedBlock);
                chain.emplace_back(aedBlock, std::string());
                tail = &chain.back().second;
            }
            *tail += descriptor(runs[i].length, runs[i].block);
        }
        for (const auto& [aedBlock, descriptors] : chain) {
            uint8_t* aed = Block(absolute(aedBlock));
            PutLE32(aed + 20, uint32_t(descriptors.size()));
            std::memcpy(aed + 24, descriptors.data(), descriptors.size());
            Seal(aed, 258, aedBlock);
        }
        PutLE16(fe + 34, shortAds ? 0 : 1);
        ads = inEntry;
    }
    PutLE32(fe + (extended ? 212 : 172), uint32_t(ads.size()));
    std::memcpy(fe + adStart, ads.data(), ads.size());
    Seal(fe, extended ? 266 : 261, entry.feBlock);
    entry.feAbsolute = EntrySpaceAbsolute(entry.feBlock);
}

void UdfImageBuilder::WriteVolumeStructures(uint32_t partitionLength)
{
    const uint32_t bs = options_.blockSize;
    const Layout layout = options_.layout;
    // Recognition sequence, one descriptor per block of at least 2048 bytes.
    const uint32_t step = std::max(bs, kSector);
    const char* vrs[] = {"BEA01", options_.revision >= 0x0200 ? "NSR03" : "NSR02", "TEA01"};
    for (int i = 0; i < 3; ++i) {
        uint8_t* d = &image_[32768 + size_t(i) * step];
        std::memcpy(d + 1, vrs[i], 5);
        d[6] = 1;
    }
    uint8_t* anchor = Block(kAnchor);
    PutLE32(anchor + 16, 4 * bs);
    PutLE32(anchor + 20, kSequence);
    PutLE32(anchor + 24, 4 * bs);
    PutLE32(anchor + 28, kSequence);
    Seal(anchor, 2, kAnchor);

    uint8_t* pvd = Block(kSequence);
    pvd[24] = 8;
    std::memcpy(pvd + 25, options_.label.data(), std::min<size_t>(options_.label.size(), 30));
    pvd[24 + 31] = uint8_t(std::min<size_t>(options_.label.size(), 30) + 1);
    Seal(pvd, 1, kSequence);

    uint8_t* pd = Block(kSequence + 1);
    PutLE16(pd + 22, 0);
    PutIdentifier(pd + 24, "+NSR03");
    PutLE32(pd + 184, 1);
    PutLE32(pd + 188, uint32_t(kPartitionStart));
    PutLE32(pd + 192, partitionLength);
    Seal(pd, 5, kSequence + 1);

    uint8_t* lvd = Block(kSequence + 2);
    PutLE32(lvd + 212, bs);
    PutIdentifier(lvd + 216, "*OSTA UDF Compliant");
    PutLE16(lvd + 240, options_.revision);
    const bool viaSecondMap = layout == Layout::Virtual150 || layout == Layout::Virtual200 || layout == Layout::Metadata;
    PutLongAd(lvd + 248, bs, 0, viaSecondMap ? 1 : 0);
    PutLE32(lvd + 432, bs);
    PutLE32(lvd + 436, uint32_t(kIntegrity));
    uint8_t* map = lvd + 440;
    uint32_t maps = 0;
    if (layout != Layout::Sparable) {
        map[0] = 1;
        map[1] = 6;
        PutLE16(map + 2, 1);
        map += 6;
        ++maps;
    }
    if (layout != Layout::Plain) {
        map[0] = 2;
        map[1] = 64;
        PutLE16(map + 36, 1);
        PutLE16(map + 38, 0);
        if (layout == Layout::Sparable) {
            PutIdentifier(map + 4, "*UDF Sparable Partition");
            PutLE16(map + 40, kPacket);
            map[42] = 1;
            PutLE32(map + 44, bs);
            PutLE32(map + 48, sparingTable_);
        } else if (layout == Layout::Metadata) {
            PutIdentifier(map + 4, "*UDF Metadata Partition");
            PutLE32(map + 40, 0);
            PutLE32(map + 44, 0);
            PutLE32(map + 48, kNone);
            PutLE32(map + 52, kPacket);
            PutLE16(map + 56, 1);
        } else {
            PutIdentifier(map + 4, "*UDF Virtual Partition");
        }
        map += 64;
        ++maps;
    }
    PutLE32(lvd + 264, uint32_t(map - (lvd + 440)));
    PutLE32(lvd + 268, maps);
    Seal(lvd, 6, kSequence + 2);
    Seal(Block(kSequence + 3), 8, kSequence + 3);

    uint8_t* lvid = Block(kIntegrity);
    PutLE32(lvid + 28, 1);
    PutLE32(lvid + 72, 1);
    PutLE32(lvid + 76, 46);
    PutLE16(lvid + 132, options_.revision);
    Seal(lvid, 9, kIntegrity);
}

void UdfImageBuilder::WriteVat()
{
    std::vector<uint32_t> table(std::max<size_t>(entries_.size() + 1, options_.vatEntries), kNone);
    table[0] = 0; // the File Set Descriptor
    for (size_t i = 0; i < entries_.size(); ++i)
        table[i + 1] = entries_[i].feBlock;
    std::string body;
    const bool v200 = options_.layout == Layout::Virtual200;
    if (v200) {
        body.assign(152, '\0');
        PutLE16(reinterpret_cast<uint8_t*>(body.data()), 152);
    }
    for (uint32_t value : table) {
        uint8_t bytes[4];
        PutLE32(bytes, value);
        body.append(reinterpret_cast<char*>(bytes), 4);
    }
    if (!v200) {
        std::string trailer(36, '\0');
        std::memcpy(&trailer[1], "*UDF Virtual Alloc Tbl", 22);
        body += trailer;
    }
    // The VAT's File Entry is the last block of the image.
    const uint64_t last = image_.size() / options_.blockSize - 1;
    const uint32_t bs = options_.blockSize;
    const bool extended = options_.extendedEntries;
    const size_t adStart = extended ? 216 : 176;
    uint8_t* fe = Block(last);
    fe[20] = 4;
    fe[27] = v200 ? 248 : 0;
    PutLE64(fe + 56, body.size());
    std::string ads;
    if (options_.embedData && adStart + body.size() <= bs) {
        PutLE16(fe + 34, 3);
        ads = body;
    } else {
        uint32_t block = nextPhysical_;
        for (size_t offset = 0; offset < body.size(); offset += bs)
            std::memcpy(Block(PhysicalAbsolute(block++)), body.data() + offset, std::min<size_t>(bs, body.size() - offset));
        ads.assign(8, '\0');
        PutLE32(reinterpret_cast<uint8_t*>(ads.data()), uint32_t(body.size()));
        PutLE32(reinterpret_cast<uint8_t*>(ads.data()) + 4, nextPhysical_);
    }
    PutLE32(fe + (extended ? 212 : 172), uint32_t(ads.size()));
    std::memcpy(fe + adStart, ads.data(), ads.size());
    Seal(fe, extended ? 266 : 261, uint32_t(last - kPartitionStart));
}

void UdfImageBuilder::ApplySparing()
{
    uint8_t* table = Block(sparingTable_);
    PutIdentifier(table + 16, "*UDF Sparing Table");
    PutLE16(table + 48, 1);
    PutLE32(table + 56, 0xFFFFFFF0);
    PutLE32(table + 60, spareArea_);
    if (sparedEntry_ >= 0) {
        const uint32_t packet = entries_[size_t(sparedEntry_)].feBlock / kPacket * kPacket;
        for (uint32_t b = 0; b < kPacket; ++b) {
            std::memcpy(Block(spareArea_ + b), Block(PhysicalAbsolute(packet + b)), options_.blockSize);
            std::memset(Block(PhysicalAbsolute(packet + b)), 0, options_.blockSize);
        }
        PutLE32(table + 56, packet);
        entries_[size_t(sparedEntry_)].feAbsolute = spareArea_ + entries_[size_t(sparedEntry_)].feBlock - packet;
    }
    Seal(table, 0, sparingTable_);
}

std::vector<uint8_t> UdfImageBuilder::Build()
{
    const uint32_t bs = options_.blockSize;
    const Layout layout = options_.layout;
    const bool metadata = layout == Layout::Metadata;
    const bool virtualLayout = layout == Layout::Virtual150 || layout == Layout::Virtual200;
    nextPhysical_ = 0;
    nextEntrySpace_ = 0;

    // File Set Descriptor and File Entries; on a metadata volume they and the
    // folders' data lie in the metadata partition, laid out in two runs.
    uint32_t fileSet = 0;
    if (metadata) {
        nextPhysical_ = 1; // the metadata file's own File Entry
        fileSet = nextEntrySpace_++;
    } else {
        fileSet = nextPhysical_++;
    }
    for (size_t i = 0; i < entries_.size(); ++i) {
        Entry& entry = entries_[i];
        entry.feBlock = metadata ? nextEntrySpace_++ : nextPhysical_++;
        entry.icbBlock = virtualLayout ? uint32_t(i + 1) : entry.feBlock;
    }
    std::vector<std::string> contents;
    for (size_t i = 0; i < entries_.size(); ++i)
        contents.push_back(entries_[i].folder ? FolderIdentifiers(entries_[i], int(i)) : entries_[i].data);

    // Size the image generously, then write; unused blocks stay zero.
    uint64_t dataBlocks = 8;
    for (const std::string& content : contents)
        dataBlocks += (content.size() / bs + 2) * (options_.maxExtentBlocks ? 2 : 1) + 2;
    const uint32_t metadataBlocks = metadata ? uint32_t(nextEntrySpace_ + dataBlocks) : 0;
    if (metadata) {
        metadataFirstRun_ = metadataBlocks / 2;
        metadataRunStart_[0] = nextPhysical_;
        metadataRunStart_[1] = nextPhysical_ + metadataFirstRun_ + 1;
        nextPhysical_ = metadataRunStart_[1] + (metadataBlocks - metadataFirstRun_);
    }
    const uint64_t vatBlocks = virtualLayout ? (std::max<size_t>(entries_.size() + 1, options_.vatEntries) * 4 + 200) / bs + 2 : 0;
    uint32_t partitionLength = uint32_t(nextPhysical_ + dataBlocks + vatBlocks + nextEntrySpace_);
    partitionLength = (partitionLength + kPacket - 1) / kPacket * kPacket + kPacket;
    uint64_t total = kPartitionStart + partitionLength;
    if (layout == Layout::Sparable) {
        sparingTable_ = uint32_t(total);
        spareArea_ = sparingTable_ + 1;
        total = spareArea_ + std::max(options_.spareBlocks, kPacket);
    }
    total += 1; // closing anchor, or the VAT's File Entry
    const uint32_t perSector = std::max<uint32_t>(1, kSector / bs);
    total = (total + perSector - 1) / perSector * perSector;
    image_.assign(size_t(total * bs), 0);
    if (virtualLayout)
        partitionLength = uint32_t(total - kPartitionStart);

    // The File Set Descriptor names the root.
    uint8_t* fsd = Block(EntrySpaceAbsolute(fileSet));
    PutLongAd(fsd + 400, bs, entries_[0].icbBlock, (metadata || virtualLayout) ? 1 : 0);
    Seal(fsd, 256, 0);
    if (metadata) {
        uint8_t* file = Block(PhysicalAbsolute(0));
        file[20] = 4;
        file[27] = 250;
        PutLE64(file + 56, uint64_t(metadataBlocks) * bs);
        PutLE32(file + 172, 16);
        PutLE32(file + 176, metadataFirstRun_ * bs);
        PutLE32(file + 180, metadataRunStart_[0]);
        PutLE32(file + 184, (metadataBlocks - metadataFirstRun_) * bs);
        PutLE32(file + 188, metadataRunStart_[1]);
        Seal(file, 261, 0);
    }
    for (size_t i = 0; i < entries_.size(); ++i)
        WriteEntry(int(i), contents[i]);
    WriteVolumeStructures(partitionLength);
    if (virtualLayout) {
        WriteVat();
    } else {
        // A closing anchor in the last block.
        const uint64_t last = total - 1;
        std::memcpy(Block(last), Block(kAnchor), bs);
        Seal(Block(last), 2, uint32_t(last));
    }
    if (layout == Layout::Sparable)
        ApplySparing();
    return image_;
}
