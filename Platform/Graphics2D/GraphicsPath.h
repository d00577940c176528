// A path of the 2D graphics layer: figures of straight lines, filled with the alternate
// (even-odd) rule.
#pragma once

#include "Platform/Graphics2D/Matrix.h"
#include "Platform/Graphics2D/Types.h"

#include <cstddef>
#include <vector>

namespace QZ::Graphics2D
{

class GraphicsPath
{
public:
    struct Figure
    {
        std::vector<PointF> points;
        bool closed = false;
    };

    // The next line starts a new figure.
    void StartFigure();
    // Appends a line to the current figure, joined to its last point when that lies elsewhere.
    Status AddLine(PointF from, PointF to);
    // Appends the points to the current figure as one connected strip; at least one point.
    Status AddLines(const PointF* points, std::size_t count);
    // Adds a closed figure of its own; at least three points.
    Status AddPolygon(const PointF* points, std::size_t count);
    // Moves every point through the matrix.
    void Transform(const Matrix& matrix);

    [[nodiscard]] const std::vector<Figure>& GetFigures() const { return mFigures; }

private:
    Figure& CurrentFigure();

    std::vector<Figure> mFigures;
    bool mStartNew = true;
};

} // namespace QZ::Graphics2D
