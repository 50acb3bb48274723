#pragma once
// rsc_player: one owner's handle on a player. References made with rsc_player_reference share the same
// player, which lives until the last handle is released.

#include "player_core.h"

#include <map>
#include <memory>
#include <mutex>
#include <string>

struct rsc_player
{
    std::shared_ptr<rsc::Player> impl;
    // Buffers handed out (captures, wave data) and not yet given back, so a wrong or repeated free is
    // refused instead of corrupting memory.
    std::mutex buffersMutex;
    std::map<unsigned char *, uint32_t> buffers; // with each buffer's byte count
    std::string error;                           // why the last file setter refused its file
};
