#include "Platform/Graphics2D/GraphicsPath.h"

namespace QZ::Graphics2D
{

void GraphicsPath::StartFigure()
{
    mStartNew = true;
}

GraphicsPath::Figure& GraphicsPath::CurrentFigure()
{
    if (mStartNew || mFigures.empty() || mFigures.back().closed)
    {
        mFigures.emplace_back();
        mStartNew = false;
    }
    return mFigures.back();
}

Status GraphicsPath::AddLine(PointF from, PointF to)
{
    const PointF points[2] = {from, to};
    return AddLines(points, 2);
}

Status GraphicsPath::AddLines(const PointF* points, std::size_t count)
{
    if (points == nullptr || count == 0)
    {
        return Status::InvalidParameter;
    }
    Figure& figure = CurrentFigure();
    for (std::size_t i = 0; i < count; ++i)
    {
        const bool repeat = !figure.points.empty() && figure.points.back().x == points[i].x &&
                            figure.points.back().y == points[i].y;
        if (i > 0 || !repeat)
        {
            figure.points.push_back(points[i]);
        }
    }
    return Status::Ok;
}

Status GraphicsPath::AddPolygon(const PointF* points, std::size_t count)
{
    if (points == nullptr || count < 3)
    {
        return Status::InvalidParameter;
    }
    Figure figure;
    figure.points.assign(points, points + count);
    figure.closed = true;
    mFigures.push_back(std::move(figure));
    return Status::Ok;
}

void GraphicsPath::Transform(const Matrix& matrix)
{
    for (Figure& figure : mFigures)
    {
        for (PointF& point : figure.points)
        {
            point = matrix.Apply(point);
        }
    }
}

} // namespace QZ::Graphics2D
