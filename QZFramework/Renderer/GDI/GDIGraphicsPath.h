// The path built from a polyline, kept by the 2D renderer's path cache until the polyline
// changes.
#pragma once

#include "Platform/Graphics2D/GraphicsPath.h"
#include "QZFramework/ObjectBase/RefCountedObject.h"

namespace QZ
{

class LGDIGraphicsPath : public virtual LRefCountedObject
{
public:
    [[nodiscard]] Graphics2D::GraphicsPath& GetPath() { return mPath; }
    [[nodiscard]] const Graphics2D::GraphicsPath& GetPath() const { return mPath; }

private:
    // Filled with the alternate (even-odd) rule.
    Graphics2D::GraphicsPath mPath;
};

} // namespace QZ
