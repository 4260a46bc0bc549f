// The NODE arguments of morvik-cli: a path of node texts from the root
// ("Session 1/DATA TRACK 1(ISO)/DOCS"), or a folder path inside the first
// file system the probe opened ("/" is that data-track node, "/DOCS/SUB" a
// folder below it).
#pragma once

#include "explorer/TreeListControls.h"

#include <string>

// The first data-track node, in tree order, whose file system was opened
// (item data not 0); kNoNode when there is none.
NodeHandle FirstFileSystemNode(const TreeControl& tree);

// The node a NODE argument names; kNoNode when no node matches. Among
// siblings of the same text the first one wins. Empty parts (doubled or
// trailing slashes) are ignored.
NodeHandle FindNodeByPath(const TreeControl& tree, const std::string& path);

// True when path is a folder path inside the first file system ("/...").
inline bool IsFileSystemPath(const std::string& path) { return !path.empty() && path[0] == '/'; }

// How a node is written back in the style of the NODE that reached it: a
// "/" path below the first file system's node when asFileSystemPath is true
// and the node lies under it, else the node-text path (NodePath).
std::string FormatNodePath(const TreeControl& tree, NodeHandle node, bool asFileSystemPath);
