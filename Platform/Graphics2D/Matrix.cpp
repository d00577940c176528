#include "Platform/Graphics2D/Matrix.h"

namespace QZ::Graphics2D
{

void Matrix::Scale(float sx, float sy, MatrixOrder order)
{
    m11 *= sx;
    m22 *= sy;
    if (order == MatrixOrder::Prepend)
    {
        m12 *= sx;
        m21 *= sy;
    }
    else
    {
        m12 *= sy;
        m21 *= sx;
        dx *= sx;
        dy *= sy;
    }
}

PointF Matrix::Apply(PointF point) const
{
    return {m11 * point.x + m21 * point.y + dx, m12 * point.x + m22 * point.y + dy};
}

} // namespace QZ::Graphics2D
