#pragma once

#include "platform/app/Platform.h"

class TForm1;

// The key that opens the records screen from the menu, R (the pad's Y reads as R): counted once
// per press and only in the menu. R held when the session starts or a screen closes counts only
// once it has been released.
class RecordsKey {
public:
    // Whether the records screen opens now, with `keys` held and `form` where it is.
    bool Opens(const platform::KeyState& keys, const TForm1& form);
    // A screen has closed: R still held must be released first.
    void ScreenClosed() { held_ = true; }

private:
    bool held_ = true;
};
