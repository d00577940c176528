// An OpenGL context and the drawable it is made current on, where WGL's contexts and pixel
// formats stood.
//
// The renderer draws every frame into framebuffer objects of its own, so a context needs no
// particular pixel format: a window's default framebuffer only receives the finished picture.
// Off-screen contexts run on EGL without a display (Mesa's surfaceless or device platform, or a
// 1 x 1 pbuffer where the driver has neither). A window's context is SDL's GL context on the
// window, which the window layer made as an SDL_Window with SDL_WINDOW_OPENGL. Failures are
// reported by result; the error number and text of the last failure stay readable until the next
// call. A context is used by the thread that makes it current.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace QZ::GLPlatform
{

class GLContext
{
public:
    virtual ~GLContext() = default;

    // A compatibility-profile context that draws without a window (EGL); null with the failure in
    // number and text when none can be had.
    [[nodiscard]] static std::unique_ptr<GLContext> CreateOffscreen(std::int32_t& number,
                                                                    std::string& text);
    // A compatibility-profile context on the window (an SDL_Window); null with the failure as
    // above.
    [[nodiscard]] static std::unique_ptr<GLContext>
    CreateForWindow(void* window, std::int32_t& number, std::string& text);

    // Makes the context current on this thread, on the window's drawable (null: no particular
    // drawable: none off-screen, the context's own window otherwise); false when the system
    // refused. Always asks the system, since another context (of another API) may have been made
    // current on the thread in between.
    [[nodiscard]] virtual bool MakeCurrent(void* window) = 0;
    // No context is current on this thread afterwards.
    virtual void ReleaseCurrent() = 0;
    // Shows the window's back buffer; false when the context has no window or the system refused.
    [[nodiscard]] virtual bool SwapBuffers(void* window) = 0;

    // The system's number and words for the last failure.
    [[nodiscard]] std::int32_t GetErrorNumber() const { return mErrorNumber; }
    [[nodiscard]] const std::string& GetErrorText() const { return mErrorText; }

protected:
    void SetError(std::int32_t number, std::string text)
    {
        mErrorNumber = number;
        mErrorText = std::move(text);
    }

private:
    std::int32_t mErrorNumber = 0;
    std::string mErrorText;
};

} // namespace QZ::GLPlatform
