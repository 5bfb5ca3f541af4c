#include "app/web/PageSession.h"

#include "platform/files/AtomicFile.h"

namespace {

// In the page's memory file system, gone with the page.
constexpr const char* kSessionFile = "/session.vkd";

} // namespace

std::unique_ptr<PageSession> PageSession::Start(platform::Platform& page) {
    try {
        auto writer = std::make_unique<DemoWriter>(kSessionFile, true);
        return std::unique_ptr<PageSession>(new PageSession(page, std::move(writer)));
    } catch (const platform::FileWriteError&) {
        return nullptr;
    }
}

PageSession::PageSession(platform::Platform& page, std::unique_ptr<DemoWriter> writer)
    : writer_(std::move(writer)), recorder_(page, *writer_, {}) {}
