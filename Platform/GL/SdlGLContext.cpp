#include "Platform/GL/SdlGLContext.h"

#include <SDL.h>

namespace QZ::GLPlatform
{
namespace
{

// SDL reports failures by text only.
constexpr std::int32_t kSdlFailure = -1;

SDL_Window* AsWindow(void* window)
{
    return static_cast<SDL_Window*>(window);
}

} // namespace

std::unique_ptr<GLContext> GLContext::CreateForWindow(void* window, std::int32_t& number,
                                                      std::string& text)
{
    return SdlGLContext::Create(window, number, text);
}

std::unique_ptr<SdlGLContext> SdlGLContext::Create(void* window, std::int32_t& number,
                                                   std::string& text)
{
    std::unique_ptr<SdlGLContext> context(new SdlGLContext(window));
    // The renderer draws with the fixed-function pipeline.
    (void)SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    context->mContext = window != nullptr ? SDL_GL_CreateContext(AsWindow(window)) : nullptr;
    if (context->mContext == nullptr)
    {
        context->Fail("SDL_GL_CreateContext");
        number = context->GetErrorNumber();
        text = context->GetErrorText();
        return nullptr;
    }
    return context;
}

SdlGLContext::~SdlGLContext()
{
    if (mContext != nullptr)
    {
        ReleaseCurrent();
        SDL_GL_DeleteContext(static_cast<SDL_GLContext>(mContext));
    }
}

void SdlGLContext::Fail(const char* call)
{
    SetError(kSdlFailure, std::string(call) + ": " + SDL_GetError());
}

bool SdlGLContext::MakeCurrent(void* window)
{
    void* target = window != nullptr ? window : mWindow;
    if (SDL_GL_MakeCurrent(AsWindow(target), static_cast<SDL_GLContext>(mContext)) != 0)
    {
        Fail("SDL_GL_MakeCurrent");
        return false;
    }
    return true;
}

void SdlGLContext::ReleaseCurrent()
{
    if (SDL_GL_GetCurrentContext() == mContext)
    {
        (void)SDL_GL_MakeCurrent(AsWindow(mWindow), nullptr);
    }
}

bool SdlGLContext::SwapBuffers(void* window)
{
    SDL_GL_SwapWindow(AsWindow(window != nullptr ? window : mWindow));
    return true;
}

} // namespace QZ::GLPlatform
