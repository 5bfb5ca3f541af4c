#pragma once

#include "platform/files/FormStream.h"

#include <cstddef>
#include <cstdint>

// The main form's stored state, carried inside the program.
const TStoredForm& StoredMainForm();

// Reads the main form as the build packs it: a stored form as it is, or one deflated behind
// the "VKFORMZ" head that `formpack --deflate` writes (and delta-coded as that head says). A
// damaged one raises EReadError.
TStoredForm ReadPackedForm(const uint8_t* data, std::size_t size);
