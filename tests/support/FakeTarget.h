// A scriptable drive for tests: wraps another target (usually an image) and
// changes its answers: not ready, no TOC, a DVD profile, failing sectors
// with chosen sense codes. It counts the commands it is asked.
#pragma once

#include "drive/ScsiTransport.h"

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

class FakeTarget : public ScsiTransport {
public:
    explicit FakeTarget(std::unique_ptr<ScsiTransport> inner = nullptr);

    // Scripting; safe to call while another thread issues commands.
    void SetNotReady(bool notReady);
    void SetNoToc(bool noToc);           // READ TOC fails with 05/24/00
    void SetProfile(uint16_t profile);   // current profile in GET CONFIGURATION
    void FailSector(int32_t lba, const SenseData_tag& sense);
    void RejectOpcode(uint8_t opcode, const SenseData_tag& sense);
    // A canned reply for an opcode (byte 2 = page or format where it matters).
    void SetReply(uint8_t opcode, std::vector<uint8_t> reply);

    int CountOf(uint8_t opcode) const;
    int CountOf(uint8_t opcode, uint8_t tocFormat) const; // READ TOC by format
    void ResetCounts();

    ScsiResult Execute(const ScsiCommand& command) override;

private:
    std::unique_ptr<ScsiTransport> inner_;
    mutable std::mutex mutex_;
    bool notReady_ = false;
    bool noToc_ = false;
    int profile_ = -1;
    std::map<int32_t, SenseData_tag> failingSectors_;
    std::map<uint8_t, SenseData_tag> rejected_;
    std::map<uint8_t, std::vector<uint8_t>> replies_;
    std::map<std::pair<uint8_t, uint8_t>, int> counts_;
};
