#include "server/ServerOptions.h"

#include "platform/base/ControlEscape.h"
#include "platform/base/FillText.h"
#include "platform/base/Translate.h"

#include <charconv>

namespace {

bool ParseNumber(const std::string& text, long long low, long long high, long long& number) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    return error == std::errc() && end == text.data() + text.size() && number >= low && number <= high;
}

} // namespace

bool ServerOptions::Parse(const std::vector<std::string>& arguments, std::string& error) {
    *this = ServerOptions{};
    bool listenGiven = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& arg = arguments[i];
        std::string value;
        // An option that takes a value accepts it as the next argument or after '='.
        auto takes = [&](const char* name) {
            const std::string option = name;
            if (arg == option) {
                if (i + 1 >= arguments.size() || arguments[i + 1].empty()) {
                    error = Fill(Tr("option '{}' needs a value"), {option});
                    return false;
                }
                value = arguments[++i];
                return true;
            }
            if (arg.starts_with(option + "=")) {
                value = arg.substr(option.size() + 1);
                if (value.empty()) {
                    error = Fill(Tr("option '{}' needs a value"), {option});
                }
                return !value.empty();
            }
            return false;
        };
        auto number = [&](const char* name, long long low, long long high, auto& into) {
            long long parsed = 0;
            if (!ParseNumber(value, low, high, parsed)) {
                error = Fill(Tr("option '{}' needs a whole number from {} to {}, not '{}'"),
                             {name, std::to_string(low), std::to_string(high), platform::EscapeControls(value)});
                return false;
            }
            into = static_cast<std::remove_reference_t<decltype(into)>>(parsed);
            return true;
        };

        if (arg == "-h" || arg == "--help") {
            Help = true;
        } else if (arg == "--version") {
            Version = true;
        } else if (arg == "--behind-proxy") {
            BehindProxy = true;
        } else if (takes("--database")) {
            Database = value;
        } else if (takes("--listen")) {
            const std::size_t colon = value.rfind(':');
            long long port = 0;
            if (colon == std::string::npos || colon == 0 || !ParseNumber(value.substr(colon + 1), 0, 65535, port)) {
                error = Fill(Tr("option '--listen' needs ADDRESS:PORT, not '{}'"), {platform::EscapeControls(value)});
                return false;
            }
            Host = value.substr(0, colon);
            if (Host.size() > 2 && Host.front() == '[' && Host.back() == ']') {
                Host = Host.substr(1, Host.size() - 2);
            }
            Port = static_cast<int>(port);
            listenGiven = true;
        } else if (takes("--role")) {
            if (value == "all") {
                Roles = Role::All;
            } else if (value == "web") {
                Roles = Role::Web;
            } else if (value == "worker") {
                Roles = Role::Worker;
            } else {
                error =
                    Fill(Tr("option '--role' needs all, web or worker, not '{}'"), {platform::EscapeControls(value)});
                return false;
            }
        } else if (takes("--web")) {
            WebDir = value;
        } else if (takes("--levels")) {
            LevelsDir = value;
        } else if (takes("--workers")) {
            if (!number("--workers", 0, 64, Workers)) {
                return false;
            }
        } else if (takes("--lease")) {
            if (!number("--lease", 2, 86400, LeaseSeconds)) {
                return false;
            }
        } else if (takes("--cpu-limit")) {
            if (!number("--cpu-limit", 1, 3600, CpuSeconds)) {
                return false;
            }
        } else if (takes("--wall-limit")) {
            if (!number("--wall-limit", 1, 3600, WallSeconds)) {
                return false;
            }
        } else if (takes("--memory-limit")) {
            if (!number("--memory-limit", 64, 65536, MemoryMegabytes)) {
                return false;
            }
        } else if (takes("--upload-rate")) {
            if (!number("--upload-rate", 0, 1000000, UploadsPerMinute)) {
                return false;
            }
        } else if (takes("--request-rate")) {
            if (!number("--request-rate", 0, 1000000, RequestsPerSecond)) {
                return false;
            }
        } else if (takes("--verify-child")) {
            VerifyChildFile = value;
        } else if (!error.empty()) {
            return false;
        } else if (arg.starts_with("-")) {
            error = Fill(Tr("unknown option '{}'"), {platform::EscapeControls(arg)});
            return false;
        } else {
            error = Fill(Tr("unexpected argument '{}'"), {platform::EscapeControls(arg)});
            return false;
        }
    }
    if (Help || Version || !VerifyChildFile.empty()) {
        return true;
    }
    if (Database.empty()) {
        error = Tr("--database FILE|URL is needed");
        return false;
    }
    if (Roles == Role::Worker && (listenGiven || !WebDir.empty())) {
        error = Tr("--role worker serves nothing: --listen and --web are for the roles all and web");
        return false;
    }
    if (LeaseSeconds <= WallSeconds) {
        error = Fill(Tr("--lease ({} s) must be longer than --wall-limit ({} s), or a slow replay loses its run to "
                        "another worker"),
                     {std::to_string(LeaseSeconds), std::to_string(WallSeconds)});
        return false;
    }
    return true;
}

std::string ServerOptions::TryHelp() {
    return Tr("Try 'vorkalith-server --help' for more information.\n");
}

std::string ServerOptions::Usage() {
    return Tr("usage: vorkalith-server --database FILE|URL [OPTION]...\n"
              "The leaderboard server: accepts demos, replays each one itself and lists only what the replays prove.\n"
              "\n"
              "      --database FILE|URL  an SQLite file (made when missing) or postgresql://USER@HOST/NAME\n"
              "      --listen ADDRESS:PORT  where to answer HTTP (default 127.0.0.1:8080; port 0: any free one)\n"
              "      --role all|web|worker  answer HTTP, verify, or both (default all)\n"
              "      --workers N          verifying workers in this process (default 1)\n"
              "      --web DIR            serve the web build's page from DIR, for the \"watch\" links\n"
              "      --levels DIR         replay on the level files of DIR (default: the installed ones)\n"
              "      --lease SECONDS      how long a worker holds a run before another may take it (default 30)\n"
              "      --cpu-limit SECONDS  processor time of one replay (default 10)\n"
              "      --wall-limit SECONDS clock time of one replay (default 20)\n"
              "      --memory-limit MB    memory of one replay (default 1024)\n"
              "      --upload-rate N      uploads a client address may make per minute (default 12; 0: any)\n"
              "      --request-rate N     requests a client address may make per second (default 50; 0: any)\n"
              "      --behind-proxy       take the client's address from the reverse proxy's X-Forwarded-For\n"
              "  -h, --help               print this help and exit\n"
              "      --version            print the version and exit\n");
}
