#pragma once
// rsc_player: one owner's handle on a player. References made with rsc_player_reference share the same
// player, which lives until the last handle is released.

#include "player_core.h"

#include <memory>
#include <mutex>
#include <set>

struct rsc_player
{
    std::shared_ptr<rsc::Player> impl;
    // Buffers handed out (captures, wave data) and not yet given back, so a wrong or repeated free is
    // refused instead of corrupting memory.
    std::mutex buffersMutex;
    std::set<unsigned char *> buffers;
};
