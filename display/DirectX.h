#pragma once

#include "platform/base/Result.h"

// Base of every wrapper of a display-layer object: keeps the result of the last call made
// through it. Failures are not raised; the operation reports false or does nothing.
class TDirectX {
public:
    virtual ~TDirectX() = default;
    platform::Result LastResult() const { return lastResult_; }

protected:
    // Records a call's result; returns true when it succeeded.
    bool Check(platform::Result result) {
        lastResult_ = result;
        return result == platform::Result::Ok;
    }

private:
    platform::Result lastResult_ = platform::Result::Ok;
};
