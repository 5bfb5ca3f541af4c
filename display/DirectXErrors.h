#pragma once

#include "platform/base/Exception.h"

// Errors of the display unit; each carries one English message.
class EDirectXError : public Exception {
public:
    using Exception::Exception;
};

class EDirectDrawError : public EDirectXError {
public:
    using EDirectXError::EDirectXError;
};

class EDirectDrawPaletteError : public EDirectDrawError {
public:
    using EDirectDrawError::EDirectDrawError;
};

class EDirectDrawClipperError : public EDirectDrawError {
public:
    using EDirectDrawError::EDirectDrawError;
};

class EDirectDrawSurfaceError : public EDirectDrawError {
public:
    using EDirectDrawError::EDirectDrawError;
};

class EDXDrawError : public Exception {
public:
    using Exception::Exception;
};

// Message texts.
inline constexpr const char* SCannotMade = "%s cannot be made";
inline constexpr const char* SCannotInitialized = "%s cannot be initialized";
inline constexpr const char* SNotMade = "%s not made";
inline constexpr const char* SNotLoaded = "%s not loaded";
inline constexpr const char* SFormNotFound = "Form not found";
inline constexpr const char* SBitCountInvalid = "It should be either of 8 or 16 or 24 or 32";
inline constexpr const char* SDisplayModeCannotChanged = "Display mode cannot be changed (%dx%d %dbit)";
inline constexpr const char* SSinceDirectX7 = "Necessary since DirectX 7";
inline constexpr const char* SSinceDirectX6 = "Necessary since DirectX 6";
inline constexpr const char* SDIBInvalid = "DIB is invalid";
