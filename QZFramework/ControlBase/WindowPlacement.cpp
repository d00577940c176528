#include "QZFramework/ControlBase/WindowPlacement.h"

#include <algorithm>
#include <charconv>
#include <string>

namespace QZ
{

WideString WindowPlacement::Format(const RectT<std::int32_t>& client)
{
    const std::string text = std::to_string(client.x) + "," + std::to_string(client.y) + "," +
                             std::to_string(client.width) + "," + std::to_string(client.height);
    return WideString(text.c_str());
}

bool WindowPlacement::Parse(const WideString& text, const RectT<std::int32_t>& usable,
                            RectT<std::int32_t>& client)
{
    const std::string narrow = text.ToNarrowString().GetString();
    std::int32_t fields[4] = {};
    const char* at = narrow.data();
    const char* const end = narrow.data() + narrow.size();
    for (std::int32_t i = 0; i < 4; ++i)
    {
        const auto [next, error] = std::from_chars(at, end, fields[i]);
        if (error != std::errc() || next == at || (i < 3 && (next == end || *next != ',')))
        {
            return false;
        }
        at = i < 3 ? next + 1 : next;
    }
    if (at != end || fields[2] < kMinimumSide || fields[3] < kMinimumSide)
    {
        return false;
    }
    // In 64 bits: a far-away origin plus its size must not wrap into the visible range.
    const auto visible =
        [](std::int64_t from, std::int64_t size, std::int64_t areaFrom, std::int64_t areaSize)
    { return std::min(from + size, areaFrom + areaSize) - std::max(from, areaFrom); };
    if (visible(fields[0], fields[2], usable.x, usable.width) < kMinimumVisible ||
        visible(fields[1], fields[3], usable.y, usable.height) < kMinimumVisible)
    {
        return false;
    }
    client = {fields[0], fields[1], fields[2], fields[3]};
    return true;
}

} // namespace QZ
