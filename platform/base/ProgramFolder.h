#pragma once

#include <string>

namespace platform {

// The folder of the running program, found through /proc; empty where it cannot be known.
std::string ProgramFolder();

} // namespace platform
