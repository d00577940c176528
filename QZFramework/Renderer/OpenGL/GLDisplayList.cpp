#include "QZFramework/Renderer/OpenGL/GLDisplayList.h"

#include "QZFramework/Renderer/OpenGL/GLHeaders.h"

namespace QZ
{

RCPtr<LGLDisplayList> LGLDisplayList::Create(std::uint32_t count)
{
    return count == 0 ? nullptr : RCPtr<LGLDisplayList>(new LGLDisplayList(count));
}

LGLDisplayList::~LGLDisplayList()
{
    if (mBase != kNoBase && glIsList(mBase) == GL_TRUE)
    {
        glDeleteLists(mBase, static_cast<GLsizei>(mCount));
        DrainGLErrors();
    }
}

QZRESULT LGLDisplayList::BeginCompile(std::uint32_t index)
{
    if (mBase == kNoBase)
    {
        const GLuint base = glGenLists(static_cast<GLsizei>(mCount));
        mBase = base == 0 ? kNoBase : base;
    }
    if (mBase == kNoBase || index >= mCount || glIsList(mBase) != GL_TRUE)
    {
        return E_FAIL;
    }
    glNewList(mBase + index, GL_COMPILE);
    DrainGLErrors();
    return S_OK;
}

void LGLDisplayList::EndCompile() const
{
    glEndList();
    DrainGLErrors();
}

QZRESULT LGLDisplayList::Call(std::uint32_t first, std::uint32_t n) const
{
    if (mBase == kNoBase)
    {
        return E_FAIL;
    }
    if (first > mCount || n > mCount - first)
    {
        return E_INVALIDARG;
    }
    for (std::uint32_t i = first; i < first + n; ++i)
    {
        if (glIsList(mBase + i) != GL_TRUE)
        {
            return E_FAIL;
        }
        glCallList(mBase + i);
        DrainGLErrors();
    }
    return S_OK;
}

} // namespace QZ
