// Area arithmetic over many rectangles at once, by sweeping a line from the top down: the
// rectangles' top and bottom edges are events sorted by row, and at each row with events the
// spans of the rectangles crossing it are joined, the cut ones taken out, and the result compared
// with the rectangles still growing downwards. The cost grows with the number of rectangles plus,
// for each row with events, the number crossing it (for rectangles within a window, at most its
// height times their number), where rectangle-by-rectangle arithmetic grows with the number of
// rectangles times the size of the region built so far.
#pragma once

#include "QZFramework/Utilities/Graphics/RegionRect.h"

#include <vector>

namespace QZ
{

class RegionSweep
{
public:
    // The area of kept outside cut, in banded form: the list runs from the top band down, each
    // band from left to right; no two rectangles of one band touch, and a rectangle continues
    // downwards as long as the bands below hold exactly its left and right edges. Overlaps
    // within kept or within cut are allowed; empty rectangles are ignored.
    [[nodiscard]] static std::vector<RegionRect> Difference(const std::vector<RegionRect>& kept,
                                                            const std::vector<RegionRect>& cut);
};

} // namespace QZ
