#pragma once

#include "records/RunRecord.h"

#include <cstdint>
#include <string>
#include <vector>

// The folder that keeps a player's runs: one demo per session of the game, and the records file.
// Demos that no record points to are removed past a bound; a demo a record points to, and the
// session being recorded, never are.
class RunsFolder {
public:
    // Session demos kept whether or not a record points to them: the newest ones, as long as all
    // session demos together stay within kKeptBytes.
    static constexpr std::size_t kKeptSessions = 30;
    static constexpr uint64_t kKeptBytes = 200ull << 20;

    // $XDG_DATA_HOME/vorkalith/runs, by default ~/.local/share/vorkalith/runs; empty when neither
    // XDG_DATA_HOME nor HOME is set.
    static std::string Default();

    explicit RunsFolder(std::string path) : path_(std::move(path)) {}

    const std::string& Path() const { return path_; }
    std::string PathOf(const std::string& name) const { return path_ + "/" + name; }
    // Makes the folder; false, `error` naming it and the cause, when it cannot be made.
    bool Make(std::string& error) const;
    // A name for a new session's demo, from the local date and time and `tag`, which tells apart
    // games started in the same second (by default the process: "session-20240501-141503-4242.vkd";
    // the page, whose tabs keep their runs in one store, gives a random number).
    std::string NewSessionName(const std::string& tag = {}) const;
    // A session demo: a name this folder gives.
    static bool IsSessionName(const std::string& name);

    // Puts in place the session demos that a game which ended without closing them (a crash, a
    // power cut) left under their temporary names, as recordings cut short. A demo whose game
    // still runs is locked by it (SessionLock) and left alone.
    void Recover() const;
    // Removes the session demos that no run of `table` points to, oldest first, beyond the newest
    // `keptSessions` and while all of them take more than `keptBytes`; never `current`. Returns the
    // names removed.
    std::vector<std::string> Prune(const std::vector<RunRecord>& table, const std::string& current,
                                   std::size_t keptSessions = kKeptSessions, uint64_t keptBytes = kKeptBytes) const;

private:
    std::string path_;
};
