// Runs a recording through the agent's core on simulated parts (scripted USB bus, manual
// clock, fixed displays and workspace, in-process notifications) and writes every posted
// event and every notification the core posts as one JSON line.
#pragma once

#include <istream>
#include <ostream>
#include <string>

// false, with a message naming the line, at the first malformed line; what came before it
// has been replayed and written.
bool nv_replay(std::istream& recording, std::ostream& out, std::string& error);
