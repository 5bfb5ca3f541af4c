#pragma once

#include "platform/FormStream.h"

// The main form's stored state, carried inside the program.
const TStoredForm& StoredMainForm();
