// The layout record of a control: where it sits and how large it is, per axis, as the skin says.
//
// Each axis has a position rule (placement anchor, reference kind and name, relative and absolute
// part, docked flag), a size rule (reference kind and name, relative and absolute part) and a
// minimum and a maximum limit (flag, reference name, relative and absolute part; the flag is false
// for a limit taken from the control itself, "Self"). Reference kinds: 0 the parent (or the
// screen for a window's top control), 1 the parent's client area (or the window's client area),
// 2 a sibling named in the rule (with an empty name only the absolute part counts, and the
// reserved name "Self" refers to the control's own content), and for sizes 3, the span up to a
// named sibling. Apart from that it carries the flags and orders that the skin gives a control.
//
// A control owns its own copy (Clone); the skin's records are shared and never changed.
#pragma once

#include "QZFramework/ObjectBase/Exception.h"
#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/ObjectBase/RefCountedObject.h"
#include "QZFramework/Utilities/Storage/StringT.h"

#include <cstdint>

namespace QZ
{

class LLayoutDescriptor : public virtual LRefCountedObject
{
public:
    enum ReferenceKind : std::uint32_t
    {
        kParent = 0,
        kClient = 1,
        kSibling = 2,
        kSpanToSibling = 3
    };
    enum TextOverflow : std::int32_t
    {
        kClip = 0,
        kExpand = 1,
        kWrap = 2
    };

    struct PositionSpec
    {
        float anchor = 0.0f;
        std::uint32_t kind = kClient;
        WideString name;
        float relative = 0.0f;
        double absolute = 0.0;
        bool docked = false;

        friend bool operator==(const PositionSpec&, const PositionSpec&) = default;
    };
    struct SizeSpec
    {
        std::uint32_t kind = kSibling;
        WideString name;
        float relative = 0.0f;
        double absolute = 0.0;

        friend bool operator==(const SizeSpec&, const SizeSpec&) = default;
    };
    struct LimitSpec
    {
        bool present = false;
        WideString name;
        float relative = 0.0f;
        double absolute = 0.0;

        friend bool operator==(const LimitSpec&, const LimitSpec&) = default;
    };

    LLayoutDescriptor();

    [[nodiscard]] RCPtr<LLayoutDescriptor> Clone() const;

    // The rules of axis 0 (X) or 1 (Y); E_INVALIDARG, with nothing written, for another axis.
    QZRESULT GetAxisSpec(std::uint32_t axis, PositionSpec& position, SizeSpec& size) const;
    QZRESULT SetAxisSpec(std::uint32_t axis, const PositionSpec& position, const SizeSpec& size);
    QZRESULT GetAxisLimits(std::uint32_t axis, LimitSpec& minimum, LimitSpec& maximum) const;
    QZRESULT SetAxisSizeLimits(std::uint32_t axis, const LimitSpec& minimum,
                               const LimitSpec& maximum);

    bool clipToParent = true;
    std::int32_t zOrder = 0;
    std::int32_t tabStop = 0;
    bool shown = true;
    bool enabled = true;
    PositionSpec position[2];
    SizeSpec size[2];
    LimitSpec minimum[2];
    LimitSpec maximum[2];
    WideString textDecoration;
    std::int32_t textOverflow[2] = {kClip, kClip};
    std::int32_t layoutOrder = 0;
};

} // namespace QZ
