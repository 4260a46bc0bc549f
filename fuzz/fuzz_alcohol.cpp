// Alcohol descriptors beside a small .mdf.
#include "FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    WriteFixedDataFile("disc.mdf");
    ExerciseImageFile(WriteFuzzFile("disc.mds", data, size));
    return 0;
}
