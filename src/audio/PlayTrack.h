// Which audio track a press of Play, Pre or Next names in the explorer tree.
#pragma once

#include "explorer/TreeListControls.h"

enum class PlayMode;

struct PlayTrack {
    NodeHandle node = kNoNode;
    int number = 0;
};

// The explorer labels audio tracks "AUDIO TRACK %d" and gives them item
// data 0; any other node is no track.
bool IsAudioTrackNode(const TreeControl& tree, NodeHandle node, int* number = nullptr);

// The selected node (Selected) or its previous or next sibling, when that is
// an audio track; node is kNoNode otherwise.
PlayTrack FindPlayTrack(const TreeControl& tree, PlayMode mode);
