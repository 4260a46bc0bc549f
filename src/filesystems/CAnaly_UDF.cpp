#include "filesystems/CAnaly_UDF.h"

CAnaly_UDF::CAnaly_UDF() = default;
CAnaly_UDF::~CAnaly_UDF() = default;

bool CAnaly_UDF::Init(CDevCmdROM*, uint8_t*, int32_t) { return false; }
int CAnaly_UDF::FillTree(TreeControl&, NodeHandle) { return 1; }
void CAnaly_UDF::FillList(ListControl&, uint64_t) {}
uint64_t CAnaly_UDF::RootLocation() const { return 0; }
bool CAnaly_UDF::ReadDirectory(uint64_t, std::vector<UdfDirEntry>&) { return false; }
bool CAnaly_UDF::ReadFileContents(uint64_t, const std::function<bool(const uint8_t*, size_t)>&) { return false; }
