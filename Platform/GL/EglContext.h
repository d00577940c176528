// The off-screen GL context on EGL: Mesa's surfaceless platform when the client library offers
// it, else the first EGL device, else the default display; made current without a surface where
// the driver allows it, else on a 1 x 1 pbuffer.
#pragma once

#include "Platform/GL/GLContext.h"

namespace QZ::GLPlatform
{

class EglContext : public GLContext
{
public:
    ~EglContext() override;
    EglContext(const EglContext&) = delete;
    EglContext& operator=(const EglContext&) = delete;

    // Null with the failure's EGL error number and text when no context can be had.
    [[nodiscard]] static std::unique_ptr<EglContext> Create(std::int32_t& number,
                                                            std::string& text);

    // Windows are not EGL's business here: a non-null window is refused.
    [[nodiscard]] bool MakeCurrent(void* window) override;
    void ReleaseCurrent() override;
    [[nodiscard]] bool SwapBuffers(void* window) override;

private:
    EglContext() = default;
    [[nodiscard]] bool Open();
    void Fail(const char* call);

    void* mDisplay = nullptr;
    void* mContext = nullptr;
    void* mSurface = nullptr;
};

} // namespace QZ::GLPlatform
