// A range of consecutive OpenGL display lists that records drawing once and replays it. The
// names are made at the first BeginCompile and deleted with the object, while the renderer's
// context is current. Painting thread only.
#pragma once

#include "QZFramework/ObjectBase/Exception.h"
#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/ObjectBase/RefCountedObject.h"

#include <cstdint>

namespace QZ
{

class LGLDisplayList : public virtual LRefCountedObject
{
public:
    static constexpr std::uint32_t kNoBase = 0xFFFFFFFFu;

    // A range of count lists, none made yet; null for a count of 0.
    [[nodiscard]] static RCPtr<LGLDisplayList> Create(std::uint32_t count);
    ~LGLDisplayList() override;
    LGLDisplayList(const LGLDisplayList&) = delete;
    LGLDisplayList& operator=(const LGLDisplayList&) = delete;

    // Starts recording list index (GL_COMPILE); E_FAIL when no lists could be made.
    [[nodiscard]] QZRESULT BeginCompile(std::uint32_t index);
    // Ends the recording started by BeginCompile.
    void EndCompile() const;
    // Replays lists first to first + n - 1: E_FAIL without lists (or at the first list the
    // context no longer knows), E_INVALIDARG past the count.
    [[nodiscard]] QZRESULT Call(std::uint32_t first, std::uint32_t n) const;

    [[nodiscard]] std::uint32_t GetBase() const { return mBase; }
    [[nodiscard]] std::uint32_t GetCount() const { return mCount; }

private:
    explicit LGLDisplayList(std::uint32_t count) : mCount(count) {}

    std::uint32_t mBase = kNoBase;
    std::uint32_t mCount;
};

} // namespace QZ
