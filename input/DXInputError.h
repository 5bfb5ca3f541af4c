#pragma once

#include "platform/base/Exception.h"

// Error of the input component and its devices.
class EDXInputError : public Exception {
public:
    using Exception::Exception;
};
