// cdrdao TOC files naming a small raw data file.
#include "FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    WriteFixedDataFile("disc.bin");
    ExerciseImageFile(WriteFuzzFile("disc.toc", data, size));
    return 0;
}
