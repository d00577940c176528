// An affine transform of the 2D graphics layer (the part of GDI+'s matrix that the program uses).
#pragma once

#include "Platform/Graphics2D/Types.h"

namespace QZ::Graphics2D
{

// x' = m11 x + m21 y + dx, y' = m12 x + m22 y + dy. A new matrix is the identity.
class Matrix
{
public:
    // Prepend scales before this transform, Append after it.
    void Scale(float sx, float sy, MatrixOrder order = MatrixOrder::Prepend);
    [[nodiscard]] PointF Apply(PointF point) const;

    float m11 = 1, m12 = 0, m21 = 0, m22 = 1, dx = 0, dy = 0;
};

} // namespace QZ::Graphics2D
