// Nero images: the footer at the end and the chunk chain it points at.
#include "FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ExerciseImageFile(WriteFuzzFile("disc.nrg", data, size));
    return 0;
}
