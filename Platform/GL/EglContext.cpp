#include "Platform/GL/EglContext.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>

#include <cstring>
#include <string_view>

namespace QZ::GLPlatform
{
namespace
{

bool HasExtension(const char* list, std::string_view name)
{
    std::string_view rest = list != nullptr ? list : "";
    while (!rest.empty())
    {
        const std::size_t end = rest.find(' ');
        if (rest.substr(0, end) == name)
        {
            return true;
        }
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    }
    return false;
}

const char* ErrorName(EGLint error)
{
    switch (error)
    {
    case EGL_SUCCESS:
        return "no error";
    case EGL_NOT_INITIALIZED:
        return "EGL is not initialised";
    case EGL_BAD_ACCESS:
        return "the context is current on another thread";
    case EGL_BAD_ALLOC:
        return "out of memory";
    case EGL_BAD_ATTRIBUTE:
    case EGL_BAD_CONFIG:
        return "no matching configuration";
    case EGL_BAD_CONTEXT:
        return "bad context";
    case EGL_BAD_DISPLAY:
        return "bad display";
    case EGL_BAD_MATCH:
        return "the context does not match the surface";
    case EGL_BAD_SURFACE:
        return "bad surface";
    case EGL_CONTEXT_LOST:
        return "the context was lost";
    default:
        return "EGL failure";
    }
}

EGLDisplay OpenDisplay()
{
    const char* clientExtensions = eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
    auto getPlatformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
        eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (getPlatformDisplay != nullptr &&
        HasExtension(clientExtensions, "EGL_MESA_platform_surfaceless"))
    {
        EGLDisplay display =
            getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
        if (display != EGL_NO_DISPLAY)
        {
            return display;
        }
    }
    auto queryDevices =
        reinterpret_cast<PFNEGLQUERYDEVICESEXTPROC>(eglGetProcAddress("eglQueryDevicesEXT"));
    EGLDeviceEXT device = nullptr;
    EGLint devices = 0;
    if (getPlatformDisplay != nullptr && queryDevices != nullptr &&
        HasExtension(clientExtensions, "EGL_EXT_platform_device") &&
        queryDevices(1, &device, &devices) == EGL_TRUE && devices > 0)
    {
        EGLDisplay display = getPlatformDisplay(EGL_PLATFORM_DEVICE_EXT, device, nullptr);
        if (display != EGL_NO_DISPLAY)
        {
            return display;
        }
    }
    return eglGetDisplay(EGL_DEFAULT_DISPLAY);
}

} // namespace

std::unique_ptr<GLContext> GLContext::CreateOffscreen(std::int32_t& number, std::string& text)
{
    return EglContext::Create(number, text);
}

std::unique_ptr<EglContext> EglContext::Create(std::int32_t& number, std::string& text)
{
    std::unique_ptr<EglContext> context(new EglContext);
    if (!context->Open())
    {
        number = context->GetErrorNumber();
        text = context->GetErrorText();
        return nullptr;
    }
    return context;
}

void EglContext::Fail(const char* call)
{
    const EGLint error = eglGetError();
    SetError(error, std::string(call) + ": " + ErrorName(error));
}

bool EglContext::Open()
{
    EGLDisplay display = OpenDisplay();
    EGLint major = 0;
    EGLint minor = 0;
    if (display == EGL_NO_DISPLAY || eglInitialize(display, &major, &minor) != EGL_TRUE)
    {
        Fail("eglInitialize");
        return false;
    }
    mDisplay = display;
    if (eglBindAPI(EGL_OPENGL_API) != EGL_TRUE)
    {
        Fail("eglBindAPI");
        return false;
    }
    const EGLint configAttributes[] = {EGL_SURFACE_TYPE,
                                       EGL_PBUFFER_BIT,
                                       EGL_RENDERABLE_TYPE,
                                       EGL_OPENGL_BIT,
                                       EGL_RED_SIZE,
                                       8,
                                       EGL_GREEN_SIZE,
                                       8,
                                       EGL_BLUE_SIZE,
                                       8,
                                       EGL_NONE};
    EGLConfig config = nullptr;
    EGLint configs = 0;
    if (eglChooseConfig(display, configAttributes, &config, 1, &configs) != EGL_TRUE || configs < 1)
    {
        config = nullptr;
    }
    const char* extensions = eglQueryString(display, EGL_EXTENSIONS);
    const bool surfaceless = HasExtension(extensions, "EGL_KHR_surfaceless_context");
    if (config == nullptr &&
        !(surfaceless && HasExtension(extensions, "EGL_KHR_no_config_context")))
    {
        SetError(EGL_BAD_CONFIG, "eglChooseConfig: no configuration draws with OpenGL");
        return false;
    }
    // The renderer draws with the fixed-function pipeline.
    const EGLint contextAttributes[] = {EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                        EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT, EGL_NONE};
    mContext = eglCreateContext(display, config, EGL_NO_CONTEXT, contextAttributes);
    if (mContext == EGL_NO_CONTEXT)
    {
        mContext = nullptr;
        Fail("eglCreateContext");
        return false;
    }
    if (!surfaceless)
    {
        const EGLint pbufferAttributes[] = {EGL_WIDTH, 1, EGL_HEIGHT, 1, EGL_NONE};
        mSurface = eglCreatePbufferSurface(display, config, pbufferAttributes);
        if (mSurface == EGL_NO_SURFACE)
        {
            mSurface = nullptr;
            Fail("eglCreatePbufferSurface");
            return false;
        }
    }
    return true;
}

EglContext::~EglContext()
{
    if (mDisplay == nullptr)
    {
        return;
    }
    if (eglGetCurrentContext() == mContext)
    {
        (void)eglMakeCurrent(mDisplay, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    }
    if (mSurface != nullptr)
    {
        (void)eglDestroySurface(mDisplay, mSurface);
    }
    if (mContext != nullptr)
    {
        (void)eglDestroyContext(mDisplay, mContext);
    }
}

bool EglContext::MakeCurrent(void* window)
{
    if (window != nullptr)
    {
        SetError(EGL_BAD_SURFACE, "eglMakeCurrent: an off-screen context has no window");
        return false;
    }
    EGLSurface surface = mSurface != nullptr ? mSurface : EGL_NO_SURFACE;
    if (eglMakeCurrent(mDisplay, surface, surface, mContext) != EGL_TRUE)
    {
        Fail("eglMakeCurrent");
        return false;
    }
    return true;
}

void EglContext::ReleaseCurrent()
{
    if (eglGetCurrentContext() == mContext)
    {
        (void)eglMakeCurrent(mDisplay, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    }
}

bool EglContext::SwapBuffers(void* /*window*/)
{
    SetError(EGL_BAD_SURFACE, "eglSwapBuffers: an off-screen context has no window");
    return false;
}

} // namespace QZ::GLPlatform
