#pragma once

#include "platform/app/Platform.h"
#include "records/RunRecord.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

class TForm1;

// The records screen, in the game's look: the title picture dimmed behind, the ten best runs one a
// row in the game's font, the chosen row lit and the row of the session's new run marked. Up and
// Down choose a row, Enter (or a click on a row) watches it, D starts the daily challenge where the
// game offers it, S offers the chosen run to the leaderboard when a server is set, Esc closes the
// screen.
class RecordsScreen {
public:
    enum class Action { None, Close, Watch, Daily, Submit };

    // `marked`: the session's new run, marked where it is in the table; `offersDaily`: D starts the
    // daily challenge (the page has none).
    RecordsScreen(std::vector<RunRecord> table, const std::optional<RunRecord>& marked, bool canSubmit,
                  bool offersDaily = true);

    // The keys held now, by key position: acts on the one just pressed. The keys held when the
    // screen opens count only once released.
    Action Keys(const platform::KeyState& keys);
    // A mouse event: the pointer moves; a press on a row chooses it and watches it.
    Action Mouse(const platform::Event& event);

    const std::vector<RunRecord>& Table() const { return table_; }
    std::size_t Selected() const { return selected_; }
    const RunRecord* SelectedRun() const { return table_.empty() ? nullptr : &table_[selected_]; }
    // A line under the table (a run that cannot be watched, a submission's verdict).
    void SetNote(std::string note) { note_ = std::move(note); }

    // Draws the screen on the form's back buffer and shows it.
    void Draw(TForm1& form) const;

    // The row at display position y; nullopt outside the rows.
    std::optional<std::size_t> RowAt(int y) const;

private:
    std::vector<RunRecord> table_;
    std::optional<std::size_t> marked_;
    bool canSubmit_;
    bool offersDaily_;
    std::size_t selected_ = 0;
    platform::KeyState held_{};
    bool seen_ = false;
    int pointerX_ = -100;
    int pointerY_ = -100;
    std::string note_;
};
