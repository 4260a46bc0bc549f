// Follows an extraction job from the command line as the progress dialog
// does: the current target and its percentage on stderr (one updating line
// on a terminal), Ctrl-C as Cancel.
#pragma once

class CGetCDData;

namespace cli {

// Polls engine every 100 ms until its job ends. False when the user
// interrupted it (the engine then deleted the file it was writing).
bool FollowJob(CGetCDData& engine);

} // namespace cli
