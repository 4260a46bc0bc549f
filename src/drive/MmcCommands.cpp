#include "drive/MmcCommands.h"

#include "common/ByteOrder.h"

namespace Mmc {
namespace {

ScsiCommand Command(uint8_t opcode, uint8_t cdbLength, uint8_t* data, uint32_t length,
                    uint32_t timeoutMs = 30000)
{
    ScsiCommand c;
    c.cdb[0] = opcode;
    c.cdbLength = cdbLength;
    c.data = data;
    c.dataLength = data ? length : 0;
    c.direction = (data && length) ? DataDirection::FromDevice : DataDirection::None;
    c.timeoutMs = timeoutMs;
    return c;
}

} // namespace

ScsiResult TestUnitReady(ScsiTransport& t)
{
    return t.Execute(Command(Opcode::TestUnitReady, 6, nullptr, 0, 10000));
}

ScsiResult Inquiry(ScsiTransport& t, uint8_t* buffer, uint8_t length)
{
    ScsiCommand c = Command(Opcode::Inquiry, 6, buffer, length, 10000);
    c.cdb[4] = length;
    return t.Execute(c);
}

ScsiResult ReadToc(ScsiTransport& t, uint8_t* buffer, uint16_t length, uint8_t format, uint8_t trackOrSession,
                   bool msf)
{
    ScsiCommand c = Command(Opcode::ReadTocPmaAtip, 10, buffer, length);
    c.cdb[1] = msf ? 0x02 : 0x00;
    c.cdb[2] = format & 0x0F;
    c.cdb[6] = trackOrSession;
    PutBE16(&c.cdb[7], length);
    return t.Execute(c);
}

ScsiResult ReadDiscInformation(ScsiTransport& t, uint8_t* buffer, uint16_t length)
{
    ScsiCommand c = Command(Opcode::ReadDiscInformation, 10, buffer, length);
    PutBE16(&c.cdb[7], length);
    return t.Execute(c);
}

ScsiResult ReadTrackInformation(ScsiTransport& t, uint8_t* buffer, uint16_t length, uint8_t addressType,
                                uint32_t number)
{
    ScsiCommand c = Command(Opcode::ReadTrackInformation, 10, buffer, length);
    c.cdb[1] = addressType & 0x03;
    PutBE32(&c.cdb[2], number);
    PutBE16(&c.cdb[7], length);
    return t.Execute(c);
}

ScsiResult GetConfiguration(ScsiTransport& t, uint8_t* buffer, uint16_t length, uint8_t requestType,
                            uint16_t startingFeature)
{
    ScsiCommand c = Command(Opcode::GetConfiguration, 10, buffer, length);
    c.cdb[1] = requestType & 0x03;
    PutBE16(&c.cdb[2], startingFeature);
    PutBE16(&c.cdb[7], length);
    return t.Execute(c);
}

ScsiResult ModeSense10(ScsiTransport& t, uint8_t* buffer, uint16_t length, uint8_t pageCode)
{
    ScsiCommand c = Command(Opcode::ModeSense10, 10, buffer, length);
    c.cdb[1] = 0x08; // no block descriptors
    c.cdb[2] = pageCode & 0x3F; // current values
    PutBE16(&c.cdb[7], length);
    return t.Execute(c);
}

ScsiResult Read10(ScsiTransport& t, uint8_t* buffer, uint32_t lba, uint16_t count)
{
    ScsiCommand c = Command(Opcode::Read10, 10, buffer, uint32_t(count) * kCookedSectorSize, 60000);
    PutBE32(&c.cdb[2], lba);
    PutBE16(&c.cdb[7], count);
    return t.Execute(c);
}

ScsiResult ReadCd(ScsiTransport& t, uint8_t* buffer, uint32_t bytesPerSector, uint32_t lba, uint32_t count,
                  uint8_t fields)
{
    ScsiCommand c = Command(Opcode::ReadCd, 12, buffer, bytesPerSector * count, 60000);
    c.cdb[1] = 0x00; // any sector type
    PutBE32(&c.cdb[2], lba);
    c.cdb[6] = uint8_t(count >> 16);
    c.cdb[7] = uint8_t(count >> 8);
    c.cdb[8] = uint8_t(count);
    c.cdb[9] = fields;
    return t.Execute(c);
}

ScsiResult PreventAllowMediumRemoval(ScsiTransport& t, bool prevent)
{
    ScsiCommand c = Command(Opcode::PreventAllowMediumRemoval, 6, nullptr, 0);
    c.cdb[4] = prevent ? 1 : 0;
    return t.Execute(c);
}

ScsiResult StartStopUnit(ScsiTransport& t, bool loadEject, bool start)
{
    ScsiCommand c = Command(Opcode::StartStopUnit, 6, nullptr, 0, 60000);
    c.cdb[4] = uint8_t((loadEject ? 0x02 : 0x00) | (start ? 0x01 : 0x00));
    return t.Execute(c);
}

} // namespace Mmc
