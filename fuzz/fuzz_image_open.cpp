// Image recognition and every format reader, on one file of any content.
#include "FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ExerciseImageFile(WriteFuzzFile("image", data, size));
    return 0;
}
