// morvik-cli play SOURCE TRACK: plays an audio track through the sound
// server, as the player strip does with that track selected in the tree.
#include "audio/CAudioPlayer.h"
#include "audio/PlayTrack.h"
#include "audio/PulseWaveOutput.h"
#include "cli/CliExplorer.h"
#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "common/StringTable.h"

#include <chrono>
#include <signal.h>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace {

volatile sig_atomic_t g_interrupted = 0;

void OnInterrupt(int) { g_interrupted = 1; }

// The node of track number in the probe's tree; kNoNode when the disc has
// no such track.
NodeHandle FindTrackNode(const TreeControl& tree, int number)
{
    NodeHandle found = kNoNode;
    for (NodeHandle root = tree.GetRootNode(); root != kNoNode; root = tree.GetNextSiblingNode(root))
        ForEachNode(tree, root, [&](NodeHandle node, int) {
            const std::string text = tree.GetItemText(node);
            int audio = 0;
            const bool isAudio = IsAudioTrackNode(tree, node, &audio) && audio == number;
            // A data track's item data is its root folder once its file system is open.
            const bool isData = text.rfind("DATA TRACK ", 0) == 0 && std::atoi(text.c_str() + 11) == number;
            if (found == kNoNode && (isAudio || isData))
                found = node;
        });
    return found;
}

} // namespace

int cli::RunPlay(int argc, char** argv, int first)
{
    const Arguments args = ParseArguments(argc, argv, first, {});
    long long number = 0;
    if (args.positional.size() != 2 || !args.flags.empty() || !ParseNumber(args.positional[1], number) ||
        number < 1 || number > 99)
        return Usage("morvik-cli play SOURCE TRACK");
    const std::unique_ptr<ExplorerSession> session = ProbeSource(args.positional[0]);
    if (!session)
        return kFailure;
    const NodeHandle node = FindTrackNode(session->tree, int(number));
    if (node == kNoNode)
        return Fail("No track " + std::to_string(number) + " on this disc");
    if (!IsAudioTrackNode(session->tree, node))
        return Fail("Track " + std::to_string(number) + " is not an audio track");
    session->tree.SelectItem(node);

    PulseWaveOutput output;
    CAudioPlayer player(output);
    player.onPosition = [](int percent) { std::fprintf(stderr, "position %d%%\n", percent); };
    player.onMessage = [](int id) { Fail(StringTable::Text(id)); };
    player.SetPlaySource(session->drive.get(), &session->tree);

    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    if (!player.StartTrack(PlayMode::Selected))
        return kFailure; // the player has said why

    while (!g_interrupted && player.GetState() == CAudioPlayer::State::Playing)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    player.Stop();
    return g_interrupted ? 128 + SIGINT : kSuccess;
}
