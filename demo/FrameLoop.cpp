#include "demo/FrameLoop.h"

#include "platform/app/Application.h"

bool FrameLoop::Pass() {
    if (!application_.Step()) {
        return false;
    }
    application_.Idle();
    ++frames_;
    return !application_.Terminated();
}

bool FrameLoop::Ended() const {
    return application_.Terminated();
}
