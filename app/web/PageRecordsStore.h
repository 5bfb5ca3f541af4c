#pragma once

#include "records/RecordsStore.h"

#include <functional>
#include <string>

// The records of the page's player, kept by the browser (IndexedDB, through app/web/records.js)
// in the same form as the desktop's records file: the table read before the program started,
// each run entered into it at once and written behind, with the demo of its session, so that the
// runs stay to be watched on later visits. The demos of the table's runs lie in kFolder of the
// program's file system, where a watch reads them.
class PageRecordsStore : public RecordsStore {
public:
    static constexpr const char* kFolder = "/runs";

    // `demoName`: the session's demo as the records name it; `demo` gives the session's demo so
    // far, kept with a run of it that makes the table.
    PageRecordsStore(std::string demoName, std::function<std::string()> demo);

    // The table as the browser kept it when the page was loaded, with the runs entered since (by
    // this page, and by others of the same site once their writes were seen). Kept records that
    // do not read as a table are told in Warning and count as none; the browser's next write
    // keeps them aside.
    RecordsUpdate Read() const override;
    // Enters `run` into the table at once; the browser's copy follows: in one transaction the run
    // is merged with the table kept by then and written back with its session's demo, and demos
    // that no run of the table points to any longer are removed.
    RecordsUpdate Add(const RunRecord& run) const override;

private:
    std::string demoName_;
    std::function<std::string()> demo_;
};
