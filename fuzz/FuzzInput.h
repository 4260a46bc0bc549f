// Fuzz inputs as files: the image readers open paths, as the program does.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class CDevCmdROM;

// A private folder under /dev/shm (or the temp folder) for this process.
const std::string& FuzzFolder();
// Writes data to FuzzFolder()/name and returns the path.
std::string WriteFuzzFile(const std::string& name, const uint8_t* data, size_t size);
// Writes a small raw (2352-byte) data file once, the file a fuzzed sheet
// names; its sectors carry the sync pattern and a Mode 1 header.
std::string WriteFixedDataFile(const std::string& name);
// A fuzzed plain image: data padded with zeros to whole 2048-byte sectors,
// at least minSectors of them.
std::string WritePlainImage(const std::string& name, const uint8_t* data, size_t size, size_t minSectors);

// Asks an opened image everything a reader asks a drive: the table, the
// disc and track information, sectors inside and outside the disc, CD-Text
// and the file-system judgement.
void ExerciseDrive(CDevCmdROM& drive);
// Opens path on the image entry and exercises it.
void ExerciseImageFile(const std::string& path);
