#pragma once

#include <string>
#include <vector>

// The options of vorkalith-server. Parsing only records them.
struct ServerOptions {
    enum class Role { All, Web, Worker };

    bool Help = false;
    bool Version = false;
    std::string Database;           // an SQLite file, or a postgresql:// URL
    std::string Host = "127.0.0.1"; // --listen HOST:PORT
    int Port = 8080;                // 0: any free port (the one taken is printed)
    Role Roles = Role::All;
    std::string WebDir;    // --web DIR: the web build's page folder
    std::string LevelsDir; // --levels DIR
    int Workers = 1;       // verifying workers in this process (roles all and worker)
    int LeaseSeconds = 30;
    int CpuSeconds = 10;
    int WallSeconds = 20;
    int MemoryMegabytes = 1024;
    double UploadsPerMinute = 12;  // per client address; 0: no limit
    double RequestsPerSecond = 50; // per client address; 0: no limit
    bool BehindProxy = false;      // the client's address is the last of X-Forwarded-For
    // The verifying child's mode: the demo at this path replayed, its findings printed.
    std::string VerifyChildFile;

    // Parses the arguments after the program name; false with a one-line reason in `error`.
    bool Parse(const std::vector<std::string>& arguments, std::string& error);

    // The help and the hint after a usage error, in the language of the texts.
    static std::string Usage();
    static std::string TryHelp();
    bool WebRole() const { return Roles != Role::Worker; }
    bool WorkerRole() const { return Roles != Role::Web; }
};
