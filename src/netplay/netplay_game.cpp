#include "netplay/netplay_game.h"

// No game can run until the netplay library is bound, so there is never a cycle to wait for.
void NetplayFrameHandoff() {}
