#pragma once

#include "platform/app/Platform.h"

#include <utility>
#include <vector>

namespace platform {

// Keys moved onto other keys before the program reads them: a bound target key reads as held while
// any of its keys is held (left bound to A and the left arrow: either holds the left arrow). A key
// bound to a target no longer reads as itself, unless it is a target too.
class KeyRemap {
public:
    // Binds `target` (a key position) to `keys`, in place of itself; an empty list leaves nothing
    // holding it. A later binding of the same target replaces the earlier one.
    void Bind(int target, std::vector<int> keys);
    bool Empty() const { return bindings_.empty(); }
    // `keys` as the bindings make them.
    void Apply(KeyState& keys) const;

private:
    std::vector<std::pair<int, std::vector<int>>> bindings_;
};

} // namespace platform
