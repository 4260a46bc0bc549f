#include "audio/PlayTrack.h"

#include "audio/CAudioPlayer.h"

#include <cstdlib>

namespace {
constexpr char kAudioLabel[] = "AUDIO TRACK";
constexpr size_t kAudioLabelLength = sizeof kAudioLabel - 1;
} // namespace

bool IsAudioTrackNode(const TreeControl& tree, NodeHandle node, int* number)
{
    if (node == kNoNode || tree.GetItemData(node) != 0)
        return false;
    const std::string text = tree.GetItemText(node);
    if (text.find(kAudioLabel) == std::string::npos)
        return false;
    if (number)
        *number = std::atoi(text.c_str() + kAudioLabelLength);
    return true;
}

PlayTrack FindPlayTrack(const TreeControl& tree, PlayMode mode)
{
    NodeHandle node = tree.GetSelectedItem();
    if (node != kNoNode && mode == PlayMode::Previous)
        node = tree.GetPrevSiblingNode(node);
    else if (node != kNoNode && mode == PlayMode::Next)
        node = tree.GetNextSiblingNode(node);
    PlayTrack track;
    if (IsAudioTrackNode(tree, node, &track.number))
        track.node = node;
    return track;
}
