// The table of contents as sessions of raw (READ TOC format 2) entries.
#pragma once

#include <cstdint>
#include <deque>
#include <stdexcept>
#include <vector>

class TocData {
public:
    // One raw TOC descriptor without its session byte.
    class _Data {
    public:
        _Data() = default;
        uint8_t& operator[](int index) { return bytes_[index]; }
        const uint8_t& operator[](int index) const { return bytes_[index]; }

        int32_t GetStartPos() const
        {
            const int pmin = bytes_[7], psec = bytes_[8], pframe = bytes_[9];
            if (pmin == 0xFF && psec == 0xFF && pframe == 0xFF)
                return 0xFFFFFF;
            const int32_t frames = (pmin * 60 + psec) * 75 + pframe;
            return pmin < 90 ? frames - 150 : frames - 450150;
        }
        int GetTrackIndex() const { return bytes_[2]; }
        bool is_data_track() const { return (bytes_[0] & 0x04) != 0; }
        bool is_audio_track() const { return (bytes_[0] & 0x04) == 0; }

    private:
        uint8_t bytes_[10] = {};
    };

    TocData() : sessionNumber_(1) {}
    explicit TocData(int sessionNumber) : sessionNumber_(sessionNumber) {}

    void add(const _Data& entry) { entries_.push_back(entry); }
    size_t size() const { return entries_.size(); }
    _Data& operator[](size_t index) { return entries_[index]; }
    const _Data& operator[](size_t index) const { return entries_[index]; }
    _Data& at(size_t index)
    {
        if (index >= entries_.size())
            throw std::out_of_range("invalid vector<T> subscript");
        return entries_[index];
    }
    const _Data& at(size_t index) const { return const_cast<TocData*>(this)->at(index); }
    void init() { entries_.clear(); }
    int GetSessNo() const { return sessionNumber_; }
    bool operator==(const TocData& other) const { return sessionNumber_ == other.sessionNumber_; }
    bool operator==(int sessionNumber) const { return sessionNumber_ == sessionNumber; }

    // Answered from ADR 1 entries only: the B0/C0 pointers and skip
    // intervals of recordable discs reuse POINT values in the track range.
    int GetFirstTrackNo() const;
    int GetLastTrackNo() const;
    bool GetTrackData(int track, _Data& entry) const;
    const _Data* GetTrackData(int track) const;
    // The lead-out start; a non-zero Zero byte counts 90-minute blocks.
    uint32_t GetLeadOutStartPos() const;
    uint8_t GetDiscType() const;

private:
    const _Data* FindPoint(int point) const;

    int sessionNumber_;
    std::vector<_Data> entries_;
};

class SessionInfo {
public:
    SessionInfo() = default;
    // descriptors: the READ TOC format 2 reply after its 4-byte header;
    // length: the header's data length - 2. Whole 11-byte descriptors only.
    SessionInfo(const unsigned char* descriptors, int length);
    SessionInfo(const SessionInfo& other) : SessionInfo() { *this = other; }
    SessionInfo& operator=(const SessionInfo& other) = default;

    int GetSessionNum() const { return int(sessions_.size()); }
    TocData& operator[](size_t index) { return sessions_[index]; }
    const TocData& operator[](size_t index) const { return sessions_[index]; }
    TocData& front()
    {
        if (sessions_.empty())
            throw std::out_of_range("invalid deque<T> subscript");
        return sessions_.front();
    }
    const TocData& front() const { return const_cast<SessionInfo*>(this)->front(); }
    TocData& back()
    {
        if (sessions_.empty())
            throw std::out_of_range("invalid deque<T> subscript");
        return sessions_.back();
    }
    const TocData& back() const { return const_cast<SessionInfo*>(this)->back(); }
    void push(const TocData& session) { sessions_.push_back(session); }
    void init() { sessions_.clear(); }

private:
    std::deque<TocData> sessions_;
};

struct MsfAddress {
    uint8_t H = 0, M = 0, S = 0, F = 0;

    int32_t ToLba() const
    {
        if (M == 0xFF && S == 0xFF && F == 0xFF)
            return 0xFFFFFF;
        if (H == 0) {
            const int32_t frames = (M * 60 + S) * 75 + F;
            return M < 90 ? frames - 150 : frames - 450150;
        }
        return ((H * 90 + M) * 60 + S) * 75 + F - 150;
    }
};
