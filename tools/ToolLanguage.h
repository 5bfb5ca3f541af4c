#pragma once

#include "platform/base/Translate.h"

// The tools run from the build tree and are never installed: they read the catalogues the build
// compiled and show their texts in the user's language, as the programs do.
inline void UseToolLanguage() {
#ifdef VK_BUILD_LOCALE_DIR
    SetCatalogueFolder(VK_BUILD_LOCALE_DIR);
#endif
    UseUserLanguage();
}
