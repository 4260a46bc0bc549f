// The probe over a fuzzed plain image: the ISO 9660 reader, the UDF reader
// (plain, sparable, VAT, metadata partitions) and the volume rows, then the
// list of every folder.
#include "FuzzInput.h"
#include "FuzzProbe.h"

namespace {
// Short inputs still reach the volume descriptors at sector 16 and beyond.
constexpr size_t kMinSectors = 20;
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzProbe probe;
    if (!probe.Open(WritePlainImage("image.iso", data, size, kMinSectors)))
        return 0;
    probe.ShowVolume();
    probe.SelectEveryNode();
    return 0;
}
