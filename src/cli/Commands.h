// The commands of morvik-cli, one file each. argv[first] is the command's
// first argument.
#pragma once

namespace cli {
int RunDrives(int argc, char** argv, int first);
int RunToc(int argc, char** argv, int first);
int RunTree(int argc, char** argv, int first);
int RunLs(int argc, char** argv, int first);
int RunVolume(int argc, char** argv, int first);
int RunSector(int argc, char** argv, int first);
int RunScan(int argc, char** argv, int first);
int RunCaps(int argc, char** argv, int first);
int RunPlay(int argc, char** argv, int first);
int RunExtract(int argc, char** argv, int first);
int RunSaveTrack(int argc, char** argv, int first);
} // namespace cli
