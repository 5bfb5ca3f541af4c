#pragma once

#include "server/ServerOptions.h"

#include <string>

// vorkalith-server in its roles: the HTTP front, the verifying workers, or both in one process,
// until SIGINT, SIGTERM or SIGHUP ends it. Requests under way are answered and a replay under
// way is finished before it ends; a run it could not finish stays queued for the next worker.
class Server {
public:
    // Runs the roles of `options`; `program` is the program the workers run as verifying child.
    // Returns the exit status (1 when the database cannot be opened or the address taken).
    static int Run(const ServerOptions& options, const std::string& program);
    // The level folder replays read, as an absolute path, and whether it holds the installed set;
    // false with the reason when none can be used.
    static bool FindLevels(const std::string& given, std::string& folder, bool& installedSet, std::string& error);
};
