#include "records/RecordsScreen.h"

#include "display/DXDraw.h"
#include "display/DXImageList.h"
#include "display/DirectDrawSurface.h"
#include "display/DirectDrawSurfaceCanvas.h"
#include "game/MainForm.h"
#include "platform/base/Translate.h"
#include "records/ScoresText.h"

namespace {

// Key positions.
constexpr int kEsc = 1, kEnter = 28, kPadEnter = 156, kUp = 200, kDown = 208, kKeyD = 32, kKeyS = 31;

constexpr int kScreenWidth = 640;
constexpr int kFirstRowY = 112;
constexpr int kRowHeight = 30;
// The columns: rank, best score, level, orbs, play time, date.
constexpr int kColumns[] = {30, 76, 180, 276, 352, 436};
constexpr TColor kMarkedColour = 0x00FFFF; // yellow

constexpr const char* kTitle = N_("Рекорды");
constexpr const char* kHeadings[] = {N_("№"), N_("Очки"), N_("Уровень"), N_("Шары"), N_("Время"), N_("Дата")};
constexpr const char* kEmpty = N_("Рекордов пока нет: сыграйте!");
constexpr const char* kHint = N_("↑↓ — выбор    Enter — смотреть    D — задание дня    Esc — назад");
constexpr const char* kSubmitHint = N_("↑↓ — выбор   Enter — смотреть   S — отправить   D — задание дня   Esc — назад");
constexpr const char* kPlainHint = N_("↑↓ — выбор    Enter — смотреть    Esc — назад");
constexpr const char* kDailyMark = N_("день");

bool Held(const platform::KeyState& keys, int key) {
    return (keys[static_cast<std::size_t>(key)] & 0x80) != 0;
}

void WriteCentred(TDirectDrawSurfaceCanvas& canvas, int y, const std::string& text) {
    canvas.WriteText((kScreenWidth - canvas.TextWidth(text)) / 2, y, text);
}

// "2024-05-01 14:03:22" without its seconds.
std::string ShortTime(const std::string& localTime) {
    return localTime.size() > 16 ? localTime.substr(0, 16) : localTime;
}

} // namespace

RecordsScreen::RecordsScreen(std::vector<RunRecord> table, const std::optional<RunRecord>& marked, bool canSubmit,
                             bool offersDaily)
    : table_(std::move(table)), canSubmit_(canSubmit), offersDaily_(offersDaily) {
    if (marked) {
        for (std::size_t i = 0; i < table_.size(); ++i) {
            if (table_[i].SameRun(*marked)) {
                marked_ = i;
                selected_ = i;
            }
        }
    }
}

RecordsScreen::Action RecordsScreen::Keys(const platform::KeyState& keys) {
    platform::KeyState pressed{};
    for (std::size_t i = 0; i < keys.size(); ++i) {
        pressed[i] = seen_ && Held(keys, static_cast<int>(i)) && !Held(held_, static_cast<int>(i)) ? 0x80 : 0;
    }
    held_ = keys;
    seen_ = true;
    if (Held(pressed, kEsc)) {
        return Action::Close;
    }
    if (Held(pressed, kUp) && selected_ > 0) {
        --selected_;
    }
    if (Held(pressed, kDown) && selected_ + 1 < table_.size()) {
        ++selected_;
    }
    if (offersDaily_ && Held(pressed, kKeyD)) {
        return Action::Daily;
    }
    if (table_.empty()) {
        return Action::None;
    }
    if (Held(pressed, kEnter) || Held(pressed, kPadEnter)) {
        return Action::Watch;
    }
    if (canSubmit_ && Held(pressed, kKeyS)) {
        return Action::Submit;
    }
    return Action::None;
}

RecordsScreen::Action RecordsScreen::Mouse(const platform::Event& event) {
    using Type = platform::Event::Type;
    if (event.Kind != Type::MouseMove && event.Kind != Type::MouseDown) {
        return Action::None;
    }
    pointerX_ = event.X;
    pointerY_ = event.Y;
    if (event.Kind != Type::MouseDown || event.Button != 1) {
        return Action::None;
    }
    if (const auto row = RowAt(event.Y); row && *row < table_.size()) {
        selected_ = *row;
        return Action::Watch;
    }
    return Action::None;
}

std::optional<std::size_t> RecordsScreen::RowAt(int y) const {
    if (y < kFirstRowY - 4) {
        return std::nullopt;
    }
    const auto row = static_cast<std::size_t>((y - (kFirstRowY - 4)) / kRowHeight);
    return row < table_.size() ? std::optional<std::size_t>(row) : std::nullopt;
}

void RecordsScreen::Draw(TForm1& form) const {
    TDirectDrawSurface* back = form.DXDraw->BackBuffer();
    if (!back) {
        return;
    }
    TGame& game = form.World;
    back->FillWith(0);
    // The title picture, dimmed so that the table reads on it.
    game.FonPicture(0).DrawBlended(back, TRect{0, 0, 640, 480}, 0, 80);
    if (!table_.empty()) {
        const int y = kFirstRowY + static_cast<int>(selected_) * kRowHeight;
        game.GraphicPicture(2).DrawBlended(back, TRect{24, y - 5, 616, y + kRowHeight - 5}, 0, 110);
    }
    if (TDirectDrawSurfaceCanvas* canvas = game.TextCanvas(24, "Arial black")) {
        WriteCentred(*canvas, 22, Tr(kTitle));
        canvas->Font.Size = 11;
        for (std::size_t c = 0; c < std::size(kHeadings); ++c) {
            canvas->WriteText(kColumns[c], kFirstRowY - 30, Tr(kHeadings[c]));
        }
        canvas->Font.Size = 13;
        for (std::size_t i = 0; i < table_.size(); ++i) {
            const RunRecord& r = table_[i];
            const int y = kFirstRowY + static_cast<int>(i) * kRowHeight;
            canvas->Font.Color = marked_ == i ? kMarkedColour : clWhite;
            const std::string cells[] = {std::to_string(i + 1),          std::to_string(r.BestScore),
                                         std::to_string(r.Level),        std::to_string(r.OrbsEaten),
                                         ScoresText::PlayTime(r.PlayMs), ShortTime(r.LocalTime)};
            for (std::size_t c = 0; c < std::size(cells); ++c) {
                canvas->WriteText(kColumns[c], y, cells[c]);
            }
            if (!r.Daily.empty()) {
                canvas->Font.Size = 9;
                canvas->WriteText(kColumns[2] + 30, y + 4, Tr(kDailyMark));
                canvas->Font.Size = 13;
            }
        }
        canvas->Font.Color = clWhite;
        if (table_.empty()) {
            WriteCentred(*canvas, 220, Tr(kEmpty));
        }
        canvas->Font.Size = 11;
        if (!note_.empty()) {
            WriteCentred(*canvas, 418, note_);
        }
        canvas->Font.Size = 10;
        WriteCentred(*canvas, 452, Tr(canSubmit_ ? kSubmitHint : offersDaily_ ? kHint : kPlainHint));
        canvas->Detach();
    }
    if (pointerX_ >= 0 && pointerY_ >= 0) {
        game.GraphicPicture(0).Draw(back, pointerX_, pointerY_, 0);
    }
    form.DXDraw->Flip();
}
