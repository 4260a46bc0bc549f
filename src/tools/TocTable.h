// The rows of the table-of-contents view: one per track of every session,
// with its session, number, type and first and last sector.
#pragma once

class CDevCmdROM;
class ListControl;

namespace TocTable {

enum class FillResult {
    Filled,    // rows from the table of contents or from track information
    NotReady,  // the drive is not ready: headers only
};

// Clears the list and inserts the five columns.
void InsertColumns(ListControl& list);

// Rebuilds the list from the drive's raw table of contents; falls back to
// FillFromTrackInfo when the drive returns none.
FillResult FillToc(CDevCmdROM& drive, ListControl& list);

// Rows from track information (discs without a readable table of contents,
// DVDs in particular): the session number alone, every track "DATA".
void FillFromTrackInfo(CDevCmdROM& drive, ListControl& list);

} // namespace TocTable
