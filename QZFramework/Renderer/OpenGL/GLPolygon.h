// Fills a polygon through the GLU tessellator: one contour, odd winding, emitted as triangles in
// the current colour (into a display list when one is being recorded). A self-intersecting
// contour is filled too: the combine callback makes the crossing points. The tessellator and its
// vertex store are shared by the process and used on the painting thread only.
#pragma once

#include "QZFramework/Utilities/Graphics/PolylineT.h"

namespace QZ
{

class CGLPolygon
{
public:
    CGLPolygon();
    virtual ~CGLPolygon() = default;
    CGLPolygon(const CGLPolygon&) = delete;
    CGLPolygon& operator=(const CGLPolygon&) = delete;

    // False when GLU reported an error for the polygon (what it drew so far stays).
    bool Tessellate(const PolylineT<float>& polyline);
};

} // namespace QZ
