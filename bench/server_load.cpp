// The leaderboard server under load and faults, on 127.0.0.1 only, ending by itself: uploaders
// send demos with known verdicts while readers read the board; a worker is killed with SIGKILL
// while it verifies and the HTTP front is restarted mid-load. Every upload must end verified or
// rejected with its right verdict. Then one worker alone verifies a queue, for its rate.
//
//   server_load --server PROGRAM --levels DIR --demos DIR [--database FILE|URL] [--uploads N]
//               [--uploaders N] [--readers N] [--workers N] [--throughput N]
#include <httplib.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <mutex>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using nlohmann::json;

struct Options {
    std::string Server, Levels, Demos, Database;
    int Uploads = 500, Uploaders = 20, Readers = 20, Workers = 2, Throughput = 100;
};

// A demo with the verdict the server must give it.
struct Upload {
    std::string Body;
    std::string Query;
    std::string Status; // "verified" or "rejected"
    int64_t Score = 0;  // of a verified one
    std::string Reason; // how a rejection's reason starts
};

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<Upload> Kinds(const std::string& demos) {
    const std::string energy = ReadFile(demos + "/energy.vkd");
    std::string damaged = energy;
    damaged.replace(damaged.find("\nf "), 3, "\nf x");
    return {
        {energy, "?name=energy", "verified", 0, ""},
        {ReadFile(demos + "/mine.vkd"), "?name=mine", "verified", 0, ""},
        {ReadFile(demos + "/level2.vkd"), "?name=level2&claimed_score=4800", "verified", 4800, ""},
        {ReadFile(demos + "/level2.vkd"), "?name=liar&claimed_score=4801", "rejected", 0, "claimed score"},
        {ReadFile(demos + "/menu-tour.vkd"), "", "rejected", 0, "no game"},
        {damaged, "?name=damaged", "rejected", 0, "damaged at line"},
        {ReadFile(demos + "/end.vkd"), "?name=end", "rejected", 0, "other level files"},
    };
}

// A process of the server, killed at the end if still running.
class Process {
public:
    Process(const std::vector<std::string>& arguments, const std::string& output) {
        // What is buffered would otherwise be written by the child too.
        std::fflush(nullptr);
        pid_ = ::fork();
        if (pid_ == 0) {
            std::freopen(output.c_str(), "a", stdout);
            std::freopen(output.c_str(), "a", stderr);
            std::vector<char*> argv;
            for (const std::string& a : arguments) {
                argv.push_back(const_cast<char*>(a.c_str()));
            }
            argv.push_back(nullptr);
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
    }
    ~Process() { Stop(SIGKILL); }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    void Stop(int signal) {
        if (pid_ > 0) {
            ::kill(pid_, signal);
            ::waitpid(pid_, nullptr, 0);
            pid_ = -1;
        }
    }
    // Whether one of its threads has a child: a verification under way.
    bool Verifying() const {
        std::error_code error;
        for (const auto& task : std::filesystem::directory_iterator("/proc/" + std::to_string(pid_) + "/task", error)) {
            std::ifstream children(task.path() / "children");
            std::string any;
            if (children >> any) {
                return true;
            }
        }
        return false;
    }

private:
    pid_t pid_ = -1;
};

class Load {
public:
    explicit Load(Options options) : o_(std::move(options)), kinds_(Kinds(o_.Demos)) {
        folder_ = std::filesystem::temp_directory_path() / ("vorkalith-load-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder_);
        if (o_.Database.empty()) {
            o_.Database = (folder_ / "runs.db").string();
        }
    }
    ~Load() {
        workers_.clear();
        front_.reset();
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    int Run() {
        StartFront(0);
        if (port_ == 0) {
            std::cerr << "server_load: the server did not start:\n" << ReadFile(Log()) << '\n';
            return 1;
        }
        for (int i = 0; i < o_.Workers; ++i) {
            StartWorker();
        }
        const auto start = Clock::now();
        std::vector<std::thread> threads;
        for (int i = 0; i < o_.Uploaders; ++i) {
            threads.emplace_back([this] { Uploader(); });
        }
        for (int i = 0; i < o_.Readers; ++i) {
            threads.emplace_back([this] { Reader(); });
        }
        Faults();
        for (int i = 0; i < o_.Uploaders; ++i) {
            threads[i].join();
        }
        const bool allDecided = WaitDecided(std::chrono::seconds(180));
        readingDone_ = true;
        for (std::size_t i = o_.Uploaders; i < threads.size(); ++i) {
            threads[i].join();
        }
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        const int wrong = Check();
        Report(seconds);
        const double rate = WorkerRate();
        std::printf("one worker: %.1f verified runs/s (%d runs)\n", rate, o_.Throughput);
        const int lost = o_.Uploads - static_cast<int>(ids_.size()) + (allDecided ? 0 : 1);
        std::printf("uploads %d, taken %zu, wrong verdicts %d, lost %d, worker killed mid-verification: %s, "
                    "front restarted: %s\n",
                    o_.Uploads, ids_.size(), wrong, lost, killedMidRun_ ? "yes" : "no", restarted_ ? "yes" : "no");
        return wrong == 0 && lost == 0 && killedMidRun_ && restarted_ && rate > 0 ? 0 : 1;
    }

private:
    std::string Log() const { return (folder_ / "server.log").string(); }

    void StartFront(int port) {
        front_ = std::make_unique<Process>(
            std::vector<std::string>{o_.Server, "--role", "web", "--database", o_.Database, "--listen",
                                     "127.0.0.1:" + std::to_string(port), "--upload-rate", "0", "--request-rate", "0"},
            Log());
        // The first start prints the port it took; a restart takes the same one.
        for (int i = 0; i < 400 && port_ == 0; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(25));
            const std::string log = ReadFile(Log());
            const std::size_t at = log.find("127.0.0.1:");
            if (at != std::string::npos && log.find('/', at) != std::string::npos) {
                port_ = std::stoi(log.substr(at + 10));
            }
        }
    }
    void StartWorker() {
        workers_.push_back(std::make_unique<Process>(
            std::vector<std::string>{o_.Server, "--role", "worker", "--database", o_.Database, "--levels", o_.Levels,
                                     "--lease", "4", "--wall-limit", "3"},
            Log()));
    }

    httplib::Client Client() const {
        httplib::Client client("127.0.0.1", port_);
        client.set_connection_timeout(2);
        client.set_read_timeout(10);
        return client;
    }

    void Uploader() {
        httplib::Client client = Client();
        for (int n = next_++; n < o_.Uploads; n = next_++) {
            const Upload& kind = kinds_[n % kinds_.size()];
            // A front that is restarting refuses the connection: the upload is sent again.
            for (int attempt = 0; attempt < 400; ++attempt) {
                const httplib::Result answer =
                    client.Post(("/api/runs" + kind.Query).c_str(), kind.Body, "application/octet-stream");
                if (answer && answer->status == 202) {
                    const std::lock_guard lock(mutex_);
                    ids_[json::parse(answer->body).at("id").get<int64_t>()] = n % kinds_.size();
                    break;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(25));
            }
            ++sent_;
        }
    }

    void Reader() {
        httplib::Client client = Client();
        std::vector<double> latencies;
        while (!readingDone_) {
            const auto start = Clock::now();
            const httplib::Result answer = client.Get("/api/leaderboard?limit=50");
            const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            if (answer && answer->status == 200) {
                latencies.push_back(ms);
            } else {
                ++unanswered_;
                std::this_thread::sleep_for(std::chrono::milliseconds(25));
            }
        }
        const std::lock_guard lock(mutex_);
        latencies_.insert(latencies_.end(), latencies.begin(), latencies.end());
    }

    // A worker killed while its child verifies, once a third of the uploads are in; the front
    // stopped and started again at two thirds.
    void Faults() {
        while (sent_ < o_.Uploads / 3) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        for (int tries = 0; tries < 4000 && !killedMidRun_; ++tries) {
            if (workers_.front()->Verifying()) {
                workers_.front()->Stop(SIGKILL);
                killedMidRun_ = true;
                StartWorker();
            } else {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        }
        while (sent_ < 2 * o_.Uploads / 3) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        front_->Stop(SIGTERM);
        StartFront(port_);
        restarted_ = true;
    }

    json Run(httplib::Client& client, int64_t id) const {
        const httplib::Result answer = client.Get(("/api/runs/" + std::to_string(id)).c_str());
        return answer && answer->status == 200 ? json::parse(answer->body) : json();
    }

    bool WaitDecided(std::chrono::seconds limit) {
        httplib::Client client = Client();
        const auto until = Clock::now() + limit;
        for (const auto& [id, kind] : ids_) {
            while (true) {
                const json run = Run(client, id);
                if (run.is_object() && run.at("status") != "queued") {
                    break;
                }
                if (Clock::now() > until) {
                    return false;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
            }
        }
        return true;
    }

    int Check() {
        httplib::Client client = Client();
        int wrong = 0;
        for (const auto& [id, kind] : ids_) {
            const json run = Run(client, id);
            const Upload& expected = kinds_[kind];
            const bool right =
                run.is_object() && run.at("status") == expected.Status &&
                (expected.Status == "verified" ? run.at("result").at("score") == expected.Score
                                               : run.at("reason").get<std::string>().starts_with(expected.Reason));
            if (!right) {
                std::cerr << "server_load: run " << id << " is " << run.dump() << ", not " << expected.Status << ' '
                          << expected.Reason << '\n';
                ++wrong;
            }
        }
        return wrong;
    }

    void Report(double seconds) {
        std::sort(latencies_.begin(), latencies_.end());
        const auto at = [&](double q) {
            return latencies_.empty() ? 0.0 : latencies_[static_cast<std::size_t>(q * (latencies_.size() - 1))];
        };
        std::printf("GET /api/leaderboard: %zu answered in %.1f s, %.0f requests/s, p50 %.2f ms, p99 %.2f ms "
                    "(%d unanswered while the front restarted)\n",
                    latencies_.size(), seconds, latencies_.size() / seconds, at(0.5), at(0.99), unanswered_.load());
    }

    // A queue of verified demos for one worker alone: its rate from start to the last verdict.
    double WorkerRate() {
        workers_.clear();
        httplib::Client client = Client();
        std::vector<int64_t> ids;
        const Upload& kind = kinds_[2];
        for (int i = 0; i < o_.Throughput; ++i) {
            const httplib::Result answer =
                client.Post(("/api/runs" + kind.Query).c_str(), kinds_[i % 2].Body, "application/octet-stream");
            if (answer && answer->status == 202) {
                ids.push_back(json::parse(answer->body).at("id").get<int64_t>());
            }
        }
        const auto start = Clock::now();
        StartWorker();
        for (const int64_t id : ids) {
            while (Run(client, id).value("status", "queued") == "queued") {
                if (Clock::now() - start > std::chrono::seconds(120)) {
                    return 0;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
            }
        }
        return ids.size() / std::chrono::duration<double>(Clock::now() - start).count();
    }

    Options o_;
    std::vector<Upload> kinds_;
    std::filesystem::path folder_;
    std::unique_ptr<Process> front_;
    std::vector<std::unique_ptr<Process>> workers_;
    int port_ = 0;
    std::atomic<int> next_ = 0, sent_ = 0, unanswered_ = 0;
    std::atomic<bool> readingDone_ = false, killedMidRun_ = false, restarted_ = false;
    std::mutex mutex_;
    std::map<int64_t, std::size_t> ids_;
    std::vector<double> latencies_;
};

} // namespace

int main(int argc, char** argv) {
    Options options;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i], value = argv[i + 1];
        if (name == "--server") {
            options.Server = value;
        } else if (name == "--levels") {
            options.Levels = value;
        } else if (name == "--demos") {
            options.Demos = value;
        } else if (name == "--database") {
            options.Database = value;
        } else if (name == "--uploads") {
            options.Uploads = std::stoi(value);
        } else if (name == "--uploaders") {
            options.Uploaders = std::stoi(value);
        } else if (name == "--readers") {
            options.Readers = std::stoi(value);
        } else if (name == "--workers") {
            options.Workers = std::stoi(value);
        } else if (name == "--throughput") {
            options.Throughput = std::stoi(value);
        } else {
            std::cerr << "server_load: unknown option " << name << '\n';
            return 2;
        }
    }
    if (options.Server.empty() || options.Levels.empty() || options.Demos.empty() || options.Workers < 1) {
        std::cerr
            << "usage: server_load --server PROGRAM --levels DIR --demos DIR [--database FILE|URL] [--uploads N]\n"
               "                   [--uploaders N] [--readers N] [--workers N] [--throughput N]\n";
        return 2;
    }
    std::signal(SIGPIPE, SIG_IGN);
    return Load(options).Run();
}
