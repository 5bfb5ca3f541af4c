#include "app/web/PageSession.h"

#include "app/web/PageRecordsStore.h"
#include "app/web/PageRecordsVisit.h"
#include "demo/Demo.h"
#include "game/MainForm.h"
#include "platform/files/AtomicFile.h"
#include "records/RunKeeper.h"
#include "records/RunsFolder.h"

#include <iostream>
#include <random>

namespace {

void Warn(const std::string& message) {
    std::cerr << "vorkalith: " << message << std::endl;
}

} // namespace

std::unique_ptr<PageSession> PageSession::Start(platform::Platform& page) {
    const RunsFolder folder(PageRecordsStore::kFolder);
    std::string error;
    if (!folder.Make(error)) {
        Warn(error);
        return nullptr;
    }
    // Pages of the same site keep their runs in one store: a random number tells apart the
    // sessions of pages started in the same second.
    const std::string name = folder.NewSessionName(std::to_string(std::random_device()() % 1000000000u));
    try {
        auto writer = std::make_unique<DemoWriter>(folder.PathOf(name));
        writer->OnFailure = Warn;
        return std::unique_ptr<PageSession>(new PageSession(page, name, std::move(writer)));
    } catch (const platform::FileWriteError& e) {
        Warn(e.what());
        return nullptr;
    }
}

PageSession::PageSession(platform::Platform& page, const std::string& demoName, std::unique_ptr<DemoWriter> writer)
    : page_(page), gate_(page), writer_(std::move(writer)), recorder_(gate_, *writer_, {}, std::nullopt, true) {
    auto records = std::make_unique<PageRecordsStore>(demoName, [this] { return writer_->Snapshot(); });
    records_ = records.get();
    keeper_ = std::make_unique<RunKeeper>(std::move(records), demoName);
    keeper_->OnWarning = Warn;
}

PageSession::~PageSession() = default;

void PageSession::Attach(TApplication& application, TForm1& form) {
    form.Interface = MakePlayerInterface(std::nullopt);
    form_ = &form;
    loop_ = std::make_unique<FrameLoop>(application);
}

bool PageSession::Frame() {
    if (visit_) {
        if (!visit_->Frame()) {
            visit_.reset();
            recordsKey_.ScreenClosed();
        }
        return true;
    }
    recorder_.BeginFrame();
    const uint64_t before = loop_->Frames();
    const bool more = loop_->Pass();
    recorder_.EndFrame();
    if (loop_->Frames() != before) {
        keeper_->AfterFrame(*form_, loop_->Frames(), recorder_.ElapsedMs());
    }
    if (!more) {
        keeper_->SessionEnded(*form_, loop_->Ended(), loop_->Frames(), recorder_.ElapsedMs());
        return false;
    }
    platform::KeyState keys{};
    page_.GetKeyState(keys);
    if (recordsKey_.Opens(keys, *form_)) {
        // The runs of this session are watched from the demo as written so far.
        writer_->Sync();
        visit_ = std::make_unique<PageRecordsVisit>(*form_, gate_, page_, *records_, keeper_->LastKept());
    }
    return true;
}

int PageSession::RecordsRows() const {
    return visit_ ? static_cast<int>(visit_->Rows()) : -1;
}

bool PageSession::Watching() const {
    return visit_ && visit_->Watching();
}
