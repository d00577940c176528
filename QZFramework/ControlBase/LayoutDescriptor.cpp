#include "QZFramework/ControlBase/LayoutDescriptor.h"

namespace QZ
{
namespace
{

constexpr double kDefaultWidth = 16.0;
constexpr double kDefaultHeight = 40.0;

} // namespace

LLayoutDescriptor::LLayoutDescriptor()
{
    size[0].absolute = kDefaultWidth;
    size[1].absolute = kDefaultHeight;
}

RCPtr<LLayoutDescriptor> LLayoutDescriptor::Clone() const
{
    return RCPtr<LLayoutDescriptor>(new LLayoutDescriptor(*this));
}

QZRESULT LLayoutDescriptor::GetAxisSpec(std::uint32_t axis, PositionSpec& outPosition,
                                        SizeSpec& outSize) const
{
    if (axis > 1)
    {
        return E_INVALIDARG;
    }
    outPosition = position[axis];
    outSize = size[axis];
    return S_OK;
}

QZRESULT LLayoutDescriptor::SetAxisSpec(std::uint32_t axis, const PositionSpec& newPosition,
                                        const SizeSpec& newSize)
{
    if (axis > 1)
    {
        return E_INVALIDARG;
    }
    position[axis] = newPosition;
    size[axis] = newSize;
    return S_OK;
}

QZRESULT LLayoutDescriptor::GetAxisLimits(std::uint32_t axis, LimitSpec& outMinimum,
                                          LimitSpec& outMaximum) const
{
    if (axis > 1)
    {
        return E_INVALIDARG;
    }
    outMinimum = minimum[axis];
    outMaximum = maximum[axis];
    return S_OK;
}

QZRESULT LLayoutDescriptor::SetAxisSizeLimits(std::uint32_t axis, const LimitSpec& newMinimum,
                                              const LimitSpec& newMaximum)
{
    if (axis > 1)
    {
        return E_INVALIDARG;
    }
    minimum[axis] = newMinimum;
    maximum[axis] = newMaximum;
    return S_OK;
}

} // namespace QZ
