#include "platform/base/Translate.h"

const char* Tr(const char* source) {
    return source;
}
