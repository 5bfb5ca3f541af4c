#pragma once

#include "server/PostgresConnection.h"
#include "support/ChildProcess.h"
#include "support/FileText.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <httplib.h>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <thread>
#include <vector>

// vorkalith-server started as a child process on 127.0.0.1 and a free port, on an SQLite file
// in a scratch folder or on a database of its own on the PostgreSQL whose URL the test script
// gives in VK_TEST_POSTGRES_URL; stopped with SIGTERM at the end. Each server has a database of
// its own because the workers of all servers on one database share its queue: a server of
// another test running at the same time, on other level files, would judge this one's runs.
class RunningServer {
public:
    enum class Database { Sqlite, Postgres };

    // The PostgreSQL the tests may use; empty when the script started none.
    static std::string PostgresUrl() {
        const char* url = std::getenv("VK_TEST_POSTGRES_URL");
        return url ? url : "";
    }

    // `environment` adds to the test's own variables.
    RunningServer(Database database, const std::string& levels, std::vector<std::string> extra = {},
                  std::vector<std::pair<std::string, std::string>> environment = {}) {
        folder_ = std::filesystem::temp_directory_path() /
                  ("vorkalith-server-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter_++));
        std::filesystem::create_directories(folder_);
        const std::string db = database == Database::Postgres ? OwnPostgresDatabase() : (folder_ / "runs.db").string();
        std::vector<std::string> arguments{VK_SERVER,  "--database",     db,          "--listen", "127.0.0.1:0",
                                           "--levels", levels,           "--workers", "2",        "--upload-rate",
                                           "0",        "--request-rate", "0"};
        arguments.insert(arguments.end(), extra.begin(), extra.end());
        ChildProcess::Options options;
        options.Env = std::move(environment);
        options.Stdout = (folder_ / "out.txt").string();
        options.Stderr = (folder_ / "err.txt").string();
        process_ = std::make_unique<ChildProcess>(arguments, options);
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (port_ == 0 && std::chrono::steady_clock::now() < until &&
               !process_->Wait(std::chrono::milliseconds(20))) {
            const std::string out = ReadAll(folder_ / "out.txt");
            const std::size_t at = out.find("127.0.0.1:");
            if (at != std::string::npos && out.find('\n', at) != std::string::npos) {
                port_ = std::stoi(out.substr(at + 10));
            }
        }
    }
    ~RunningServer() {
        process_->Signal(SIGTERM);
        process_->Wait(std::chrono::seconds(10));
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
        if (!postgresDatabase_.empty()) {
            try {
                PostgresConnection(PostgresUrl())
                    .Script("DROP DATABASE IF EXISTS " + postgresDatabase_ + " WITH (FORCE)");
            } catch (const SqlError&) {
                // Left for the test script, which removes the whole cluster.
            }
        }
    }

    int Port() const { return port_; }
    std::string Log() const { return ReadAll(folder_ / "err.txt"); }
    std::unique_ptr<httplib::Client> Client() const {
        auto client = std::make_unique<httplib::Client>("127.0.0.1", port_);
        client->set_read_timeout(30);
        return client;
    }

    // Uploads `demo` with the query `query` and returns the run's id; 0 when it was not taken.
    int64_t Upload(const std::string& demo, const std::string& query = "") const {
        const httplib::Result answer = Client()->Post(("/api/runs" + query).c_str(), demo, "application/octet-stream");
        if (!answer || answer->status != 202) {
            return 0;
        }
        return nlohmann::json::parse(answer->body).at("id").get<int64_t>();
    }
    // The run once it is decided (or as it is when the wait ends).
    nlohmann::json Decided(int64_t id) const {
        nlohmann::json run;
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        auto client = Client();
        do {
            const httplib::Result answer = client->Get(("/api/runs/" + std::to_string(id)).c_str());
            if (answer && answer->status == 200) {
                run = nlohmann::json::parse(answer->body);
                if (run.at("status") != "queued") {
                    break;
                }
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        } while (std::chrono::steady_clock::now() < until);
        return run;
    }

private:
    // Makes a new database on the tests' PostgreSQL and returns its URL.
    std::string OwnPostgresDatabase() {
        const std::string url = PostgresUrl();
        postgresDatabase_ = folder_.filename().string();
        std::replace(postgresDatabase_.begin(), postgresDatabase_.end(), '-', '_');
        PostgresConnection(url).Script("CREATE DATABASE " + postgresDatabase_);
        return url.substr(0, url.rfind('/') + 1) + postgresDatabase_;
    }

    static inline int counter_ = 0;
    std::string postgresDatabase_;
    std::filesystem::path folder_;
    std::unique_ptr<ChildProcess> process_;
    int port_ = 0;
};
