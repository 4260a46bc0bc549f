// CUE sheets naming a small raw data file.
#include "FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    WriteFixedDataFile("disc.bin");
    ExerciseImageFile(WriteFuzzFile("disc.cue", data, size));
    return 0;
}
