// Image recognition and every format reader, on one file of any content.
#include "FuzzInput.h"
#include "drive/CDevCmdROM.h"

#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string path = WriteFuzzFile("image", data, size);
    CDevCmdROM drive;
    if (!drive.SetImageFile(path))
        return 0;
    // Whatever opened must answer every read without harm.
    std::vector<uint8_t> buffer(16 * 2352);
    uint8_t toc[2048];
    drive.ReadToc(toc, sizeof toc, 2, 0);
    for (int32_t lba : {-150, 0, 16, 17, 1000})
        drive.ReadCD_All(buffer.data(), uint32_t(buffer.size()), 16, lba);
    FS_CDTEXT_INFO text{};
    drive.GetCDText(text);
    drive.JudgeFileSystem(0);
    return 0;
}
