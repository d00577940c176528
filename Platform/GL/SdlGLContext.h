// The GL context of a window: SDL's GL context on the SDL_Window that the window layer made with
// SDL_WINDOW_OPENGL. SDL's video subsystem stays the window layer's: this class starts and ends
// nothing but its context.
#pragma once

#include "Platform/GL/GLContext.h"

namespace QZ::GLPlatform
{

class SdlGLContext : public GLContext
{
public:
    ~SdlGLContext() override;
    SdlGLContext(const SdlGLContext&) = delete;
    SdlGLContext& operator=(const SdlGLContext&) = delete;

    // Null with SDL's words for the failure when no context can be had.
    [[nodiscard]] static std::unique_ptr<SdlGLContext> Create(void* window, std::int32_t& number,
                                                              std::string& text);

    [[nodiscard]] bool MakeCurrent(void* window) override;
    void ReleaseCurrent() override;
    [[nodiscard]] bool SwapBuffers(void* window) override;

private:
    explicit SdlGLContext(void* window) : mWindow(window) {}
    void Fail(const char* call);

    void* mWindow;
    void* mContext = nullptr;
};

} // namespace QZ::GLPlatform
