#include "extraction/JobState.h"

#include <algorithm>

void JobState::SetProgress(uint64_t part, uint64_t whole)
{
    SetProgress(whole == 0 ? 100 : int(std::min<uint64_t>(part, whole) * 100 / whole));
}

std::string JobState::CurrentName() const
{
    std::lock_guard lock(nameMutex_);
    return currentName_;
}

void JobState::SetCurrentName(std::string name)
{
    std::lock_guard lock(nameMutex_);
    currentName_ = std::move(name);
}
