// A brush that fills with copies of an image area laid side by side from the world origin.
#pragma once

#include "Platform/Graphics2D/Image.h"
#include "Platform/Graphics2D/Types.h"

#include <memory>

namespace QZ::Graphics2D
{

class TextureBrush
{
public:
    // Takes a copy of the area (which must lie inside the image); the image may change or go
    // afterwards. InvalidParameter (GetLastStatus) for an area outside it.
    TextureBrush(Image& image, const RectI& source);
    ~TextureBrush();
    TextureBrush(const TextureBrush&) = delete;
    TextureBrush& operator=(const TextureBrush&) = delete;

    [[nodiscard]] Status GetLastStatus() const { return mStatus; }

    struct Impl;
    Impl& GetImpl() const { return *mImpl; }

private:
    std::unique_ptr<Impl> mImpl;
    Status mStatus = Status::Ok;
};

} // namespace QZ::Graphics2D
