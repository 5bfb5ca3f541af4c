#include "app/web/PageRecordsVisit.h"

#include "app/web/PageRecordsStore.h"
#include "demo/DemoReader.h"
#include "demo/WindowGate.h"
#include "platform/base/Translate.h"
#include "records/RunWatch.h"
#include "records/RunsFolder.h"

#include <iostream>

namespace {

constexpr std::size_t kEsc = 1;

RecordsUpdate ReadRecords(const RecordsStore& records) {
    RecordsUpdate update = records.Read();
    if (!update.Warning.empty()) {
        std::cerr << "vorkalith: " << update.Warning << std::endl;
    }
    return update;
}

} // namespace

PageRecordsVisit::PageRecordsVisit(TForm1& form, WindowGate& gate, platform::Platform& keys,
                                   const RecordsStore& records, const std::optional<RunRecord>& marked)
    : form_(form), gate_(gate), keys_(keys), screen_(ReadRecords(records).Table, marked, false, false) {}

PageRecordsVisit::~PageRecordsVisit() = default;

bool PageRecordsVisit::Frame() {
    if (watch_) {
        if (!WatchFrame()) {
            watch_.reset();
            window_.reset();
            IgnoreHeldKeys();
        }
        return true;
    }
    RecordsScreen::Action action = RecordsScreen::Action::None;
    platform::Event event;
    while (gate_.PollWindow(event)) {
        if (const RecordsScreen::Action clicked = screen_.Mouse(event); clicked != RecordsScreen::Action::None) {
            action = clicked;
        }
        gate_.Hold(event);
    }
    platform::KeyState keys{};
    keys_.GetKeyState(keys);
    if (const RecordsScreen::Action pressed = screen_.Keys(keys); pressed != RecordsScreen::Action::None) {
        action = pressed;
    }
    if (action == RecordsScreen::Action::Close) {
        return false;
    }
    if (action == RecordsScreen::Action::Watch && screen_.SelectedRun()) {
        Watch(*screen_.SelectedRun());
        return true;
    }
    screen_.Draw(form_);
    return true;
}

void PageRecordsVisit::Watch(const RunRecord& run) {
    screen_.SetNote("");
    try {
        window_ = std::make_unique<WatchedWindow>(gate_);
        watch_ = std::make_unique<RunWatch>(window_.get(), RunsFolder(PageRecordsStore::kFolder), run);
        escHeld_ = true;
    } catch (const DemoError& e) {
        std::cerr << "vorkalith: " << e.what() << std::endl;
        watch_.reset();
        window_.reset();
        screen_.SetNote(Tr("Этот забег не посмотреть: его запись пропала или испорчена"));
        screen_.Draw(form_);
    }
}

bool PageRecordsVisit::WatchFrame() {
    platform::KeyState keys{};
    keys_.GetKeyState(keys);
    const bool esc = (keys[kEsc] & 0x80) != 0;
    if (esc && !escHeld_) {
        return false;
    }
    escHeld_ = esc;
    while (watch_->Step()) {
        if (!watch_->BeforeTheRun()) {
            return true;
        }
    }
    return false;
}

void PageRecordsVisit::IgnoreHeldKeys() {
    platform::KeyState keys{};
    screen_.Keys(keys);
    keys_.GetKeyState(keys);
    screen_.Keys(keys);
}
