// CloneCD sheets beside a small .img.
#include "FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    WriteFixedDataFile("disc.img");
    ExerciseImageFile(WriteFuzzFile("disc.ccd", data, size));
    return 0;
}
