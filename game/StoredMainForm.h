#pragma once

#include "platform/files/FormStream.h"

// The main form's stored state, carried inside the program.
const TStoredForm& StoredMainForm();
