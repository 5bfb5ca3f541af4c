#include "records/RecordsCommands.h"

#include "demo/DemoReader.h"
#include "records/RecordsFile.h"
#include "records/RunWatch.h"
#include "records/RunsFolder.h"
#include "records/ScoresText.h"
#include "records/WatchPacer.h"

#include <iostream>

namespace {

// The table of the player's records; nullopt, the reason told, when it cannot be read.
std::optional<std::vector<RunRecord>> ReadTable() {
    const std::string folder = RunsFolder::Default();
    if (folder.empty()) {
        std::cerr << "vorkalith: no records ($XDG_DATA_HOME and $HOME are unset)\n";
        return std::nullopt;
    }
    const RecordsUpdate records = RecordsFile(folder).Read();
    if (!records.Warning.empty()) {
        std::cerr << "vorkalith: " << records.Warning << '\n';
    }
    if (!records.Error.empty()) {
        std::cerr << "vorkalith: " << records.Error << '\n';
        return std::nullopt;
    }
    return records.Table;
}

} // namespace

int PrintScores(bool json) {
    const auto table = ReadTable();
    if (!table) {
        return 1;
    }
    std::cout << (json ? ScoresText::Json(*table) : ScoresText::Tsv(*table)) << std::flush;
    return 0;
}

int WatchRun(platform::Platform* window, int row) {
    const auto table = ReadTable();
    if (!table) {
        return 1;
    }
    if (row < 1 || static_cast<std::size_t>(row) > table->size()) {
        std::cerr << "vorkalith: no run " << row << " in the records (" << table->size() << " kept)\n";
        return 1;
    }
    const RunRecord& run = (*table)[static_cast<std::size_t>(row - 1)];
    std::unique_ptr<RunWatch> watch;
    try {
        watch = std::make_unique<RunWatch>(window, RunsFolder(RunsFolder::Default()), run);
    } catch (const DemoError& e) {
        std::cerr << "vorkalith: " << e.what() << '\n';
        return 1;
    }
    WatchPacer pacer(window);
    while (watch->Step()) {
        if (!watch->BeforeTheRun() && !pacer.Frame()) {
            break;
        }
    }
    if (window) {
        return 0;
    }
    std::cout << watch->FinalState() << std::endl;
    if (!watch->MatchesRecord()) {
        std::cerr << "vorkalith: the run ends in another state than the one its record holds:\n"
                  << "vorkalith: " << run.FinalState << '\n';
        return 1;
    }
    return 0;
}
