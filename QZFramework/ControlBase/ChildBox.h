// What a parent keeps of a child to pass it by without calling it while painting and hit testing.
#pragma once

#include <cstdint>

namespace QZ
{

// A child's rectangle in its parent's content coordinates, widened to whole pixels and one more
// on each side, so that it holds every pixel the child paints or is hit at.
struct ChildBox
{
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    // Nothing of the subtree lies outside the box: no separately painted descendant.
    bool contained = false;
    // The child clips to its parent (it is painted with the tree, not on its own).
    bool clipped = false;
    // How many of its axes are docked.
    std::uint8_t docked = 0;
};

} // namespace QZ
