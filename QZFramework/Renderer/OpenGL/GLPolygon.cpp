#include "QZFramework/Renderer/OpenGL/GLPolygon.h"

#include "QZFramework/Renderer/OpenGL/GLHeaders.h"

#include <array>
#include <deque>
#include <vector>

namespace QZ
{
namespace
{

struct Tessellation
{
    GLUtesselator* tessellator = nullptr;
    // Three doubles per point, grown and never shrunk.
    std::vector<GLdouble> vertices;
    // The points the combine callback makes; a deque keeps their addresses while GLU holds them.
    std::deque<std::array<GLdouble, 3>> combined;
    bool failed = false;

    Tessellation() : tessellator(gluNewTess()) {}
    ~Tessellation()
    {
        if (tessellator != nullptr)
        {
            gluDeleteTess(tessellator);
        }
    }
};

Tessellation& Shared()
{
    static Tessellation shared;
    return shared;
}

void GLAPIENTRY OnBegin(GLenum mode)
{
    glBegin(mode);
}

void GLAPIENTRY OnEnd()
{
    glEnd();
}

void GLAPIENTRY OnVertex(void* data)
{
    glVertex3dv(static_cast<const GLdouble*>(data));
}

void GLAPIENTRY OnCombine(GLdouble coordinates[3], void* /*neighbours*/[4], GLfloat /*weights*/[4],
                          void** out)
{
    std::array<GLdouble, 3>& point = Shared().combined.emplace_back();
    point = {coordinates[0], coordinates[1], coordinates[2]};
    *out = point.data();
}

void GLAPIENTRY OnError(GLenum /*error*/)
{
    Shared().failed = true;
}

} // namespace

CGLPolygon::CGLPolygon()
{
    static const bool configured = []
    {
        GLUtesselator* tessellator = Shared().tessellator;
        if (tessellator == nullptr)
        {
            return false;
        }
        gluTessNormal(tessellator, 0.0, 0.0, 1.0);
        gluTessProperty(tessellator, GLU_TESS_TOLERANCE, 1.0);
        gluTessProperty(tessellator, GLU_TESS_BOUNDARY_ONLY, GL_FALSE);
        gluTessCallback(tessellator, GLU_TESS_BEGIN, reinterpret_cast<_GLUfuncptr>(&OnBegin));
        gluTessCallback(tessellator, GLU_TESS_END, reinterpret_cast<_GLUfuncptr>(&OnEnd));
        gluTessCallback(tessellator, GLU_TESS_VERTEX, reinterpret_cast<_GLUfuncptr>(&OnVertex));
        gluTessCallback(tessellator, GLU_TESS_COMBINE, reinterpret_cast<_GLUfuncptr>(&OnCombine));
        gluTessCallback(tessellator, GLU_TESS_ERROR, reinterpret_cast<_GLUfuncptr>(&OnError));
        return true;
    }();
    (void)configured;
}

bool CGLPolygon::Tessellate(const PolylineT<float>& polyline)
{
    Tessellation& shared = Shared();
    if (shared.tessellator == nullptr)
    {
        return false;
    }
    const Array<PointT<float>>& points = polyline.GetPoints();
    const std::size_t count = static_cast<std::size_t>(points.GetCount());
    if (shared.vertices.size() < 3 * count)
    {
        shared.vertices.resize(3 * count);
    }
    shared.failed = false;
    gluTessBeginPolygon(shared.tessellator, nullptr);
    gluTessBeginContour(shared.tessellator);
    for (std::size_t i = 0; i < count; ++i)
    {
        const PointT<float>& point = points.GetAt(static_cast<std::int32_t>(i));
        GLdouble* vertex = &shared.vertices[3 * i];
        vertex[0] = point.x;
        vertex[1] = point.y;
        vertex[2] = 0.0;
        gluTessVertex(shared.tessellator, vertex, vertex);
    }
    gluTessEndContour(shared.tessellator);
    gluTessEndPolygon(shared.tessellator);
    shared.combined.clear();
    return !shared.failed;
}

} // namespace QZ
