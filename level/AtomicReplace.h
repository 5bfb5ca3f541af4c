#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace levels {

// Replaces the file at `path` with `bytes` so that a crash, a full disk or a failed write leaves
// either the old file whole or the new one: a temporary file in the same folder is written,
// flushed to the disk and closed, then renamed over the target, and the folder is flushed. A new
// file gets the permissions the umask allows, a replaced one keeps its own. False, with a one-line
// reason in `error` and nothing left behind, when any step fails.
//
// (Kept in the level library until the shared helper of the file layer takes its place.)
bool ReplaceFileAtomically(const std::string& path, std::span<const uint8_t> bytes, std::string& error);

} // namespace levels
