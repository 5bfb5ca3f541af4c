#include "settings/Settings.h"

platform::KeyRemap Settings::Remap() const {
    platform::KeyRemap remap;
    for (std::size_t i = 0; i < kActions.size(); ++i) {
        if (Keys[i]) {
            remap.Bind(kActions[i].Key, *Keys[i]);
        }
    }
    return remap;
}
