// The OpenGL and GLU declarations the renderer's sources use, with the prototypes of the entry
// points past OpenGL 1.1 (framebuffer objects, separate blending).
#pragma once

#ifndef GL_GLEXT_PROTOTYPES
#define GL_GLEXT_PROTOTYPES 1
#endif
#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/glu.h>

namespace QZ
{

// Empties OpenGL's error queue; the renderer does not act on errors while drawing.
inline void DrainGLErrors()
{
    for (int i = 0; i < 64 && glGetError() != GL_NO_ERROR; ++i)
    {
    }
}

} // namespace QZ
