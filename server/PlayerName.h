#pragma once

#include <optional>
#include <string>
#include <string_view>

// A player's name as the server takes it: trimmed of spaces at both ends, then 1 to 24
// characters of valid UTF-8 with no control characters (C0, DEL, C1).
class PlayerName {
public:
    static constexpr std::size_t kMaxCharacters = 24;

    // The name to store: nothing for a name that is empty once trimmed. False with the reason
    // for a name that may not be taken.
    static bool Clean(std::string_view given, std::optional<std::string>& name, std::string& reason);
};
