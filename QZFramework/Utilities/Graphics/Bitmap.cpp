#include "QZFramework/Utilities/Graphics/Bitmap.h"

#include "Platform/Graphics2D/Image.h"
#include "Platform/Resources/Resources.h"
#include "QZFramework/Utilities/Storage/QZFile.h"

#include <algorithm>
#include <atomic>
#include <functional>
#include <future>
#include <map>
#include <span>
#include <string>
#include <system_error>

namespace QZ
{
namespace
{

constexpr const char* kImageResourceType = "GDIPLUS";

using NamedBitmapCache = std::map<WideString, RCPtr<LBitmap>>;
using ImageDecoding = std::future<std::unique_ptr<Graphics2D::Image>>;

// Lives for the whole process, so that a bitmap released during static destruction still finds
// it.
NamedBitmapCache& Cache()
{
    static auto* cache = new NamedBitmapCache();
    return *cache;
}

// The images being decoded ahead of their first use, by cache key. Destroyed at the program's
// end, which joins the decoding threads of images never asked for (a decoding still running then
// takes a few milliseconds at most).
std::map<WideString, ImageDecoding>& Decodings()
{
    static std::map<WideString, ImageDecoding> decodings;
    return decodings;
}

std::int32_t NextHandle()
{
    static std::atomic<std::int32_t> counter{0};
    return ++counter;
}

bool IsResourceName(const WideString& name)
{
    const char16_t* text = name.GetString();
    return text[0] == u':' && text[1] == u':';
}

std::uint8_t Channel(std::uint32_t argb, int shift)
{
    return static_cast<std::uint8_t>(argb >> shift);
}

// ((value / 255) x (1 - k) + target x k) x 255, rounded, kept to a byte.
std::uint32_t Tint(std::uint8_t value, float target, float k)
{
    const float mixed = ((static_cast<float>(value) / 255.0f) * (1.0f - k) + target * k) * 255.0f;
    return static_cast<std::uint32_t>(std::clamp(mixed + 0.5f, 0.0f, 255.0f));
}

ColorRGBA Mix(const ColorRGBA& a, const ColorRGBA& b, float t)
{
    return {a.red + (b.red - a.red) * t, a.green + (b.green - a.green) * t,
            a.blue + (b.blue - a.blue) * t, a.alpha + (b.alpha - a.alpha) * t};
}

// The colour of row y of n in a vertical shade, taken at the row's middle.
ColorRGBA RowColor(const ColorRGBA& top, const ColorRGBA& bottom, std::int32_t y, std::int32_t n)
{
    return Mix(top, bottom, (static_cast<float>(y) + 0.5f) / static_cast<float>(n));
}

WideString CacheKeyOf(const WideString& name)
{
    return IsResourceName(name) ? name.ToUpper() : File::GetLongPath(name);
}

std::unique_ptr<Graphics2D::Image> ReadyToDraw(std::unique_ptr<Graphics2D::Image> image)
{
    if (image)
    {
        (void)image->PrepareForDrawing();
    }
    return image;
}

// What decodes the named image, which comes ready to draw. It is made on the caller's thread and may run on any other: it
// holds only the bytes of an embedded image, which live as long as the program, or a file's path.
std::function<std::unique_ptr<Graphics2D::Image>()> DecoderOf(const WideString& name)
{
    if (!IsResourceName(name))
    {
        NarrowString path;
        std::string file = WideStringToFileName(name, path) ? path.GetString() : std::string();
        return [file = std::move(file)]
        {
            std::unique_ptr<Graphics2D::Image> image;
            if (!file.empty())
            {
                (void)Graphics2D::Image::FromFile(file.c_str(), image);
            }
            return ReadyToDraw(std::move(image));
        };
    }
    const std::string resource =
        Resources::ResourceNameFromFileName(name.Mid(2).ToNarrowString().GetString());
    std::span<const std::uint8_t> bytes;
    (void)Resources::FindResource(kImageResourceType, resource, bytes);
    return [bytes]
    {
        std::unique_ptr<Graphics2D::Image> image;
        if (!bytes.empty())
        {
            (void)Graphics2D::Image::FromMemory(bytes.data(), bytes.size(), image);
        }
        return ReadyToDraw(std::move(image));
    };
}

} // namespace

LBitmap::LBitmap(const WideString& name, const WideString& cacheKey)
    : mName(name), mCacheKey(cacheKey), mHandle(NextHandle())
{
    Load();
}

LBitmap::LBitmap(std::unique_ptr<Graphics2D::Image> image, const WideString& name)
    : mName(name), mHandle(NextHandle())
{
    TakeImage(std::move(image));
}

LBitmap::LBitmap(const RCPtr<LBitmap>& owner, std::int32_t x, std::int32_t y, std::int32_t width,
                 std::int32_t height)
    : mX(x), mY(y), mWidth(width), mHeight(height), mParent(owner), mName(owner->mName),
      mHandle(owner->mHandle)
{
}

LBitmap::~LBitmap() = default;

void LBitmap::TakeImage(std::unique_ptr<Graphics2D::Image> image)
{
    mImage = std::move(image);
    mWidth = mImage ? mImage->GetWidth() : 0;
    mHeight = mImage ? mImage->GetHeight() : 0;
}

void LBitmap::Load()
{
    auto& decodings = Decodings();
    const auto decoding = mCacheKey.IsEmpty() ? decodings.end() : decodings.find(mCacheKey);
    if (decoding == decodings.end())
    {
        TakeImage(DecoderOf(mName)());
        return;
    }
    TakeImage(decoding->second.get());
    decodings.erase(decoding);
}

void LBitmap::PrepareNamedBitmaps(const std::vector<WideString>& names)
{
    auto& decodings = Decodings();
    for (const WideString& name : names)
    {
        WideString key = CacheKeyOf(name);
        if (Cache().contains(key) || decodings.contains(key))
        {
            continue;
        }
        try
        {
            decodings.emplace(std::move(key), std::async(std::launch::async, DecoderOf(name)));
        }
        catch (const std::system_error&)
        {
            // No thread to be had: the image is decoded when it is first asked for.
        }
    }
}

void LBitmap::ForgetPreparedBitmaps(const std::vector<WideString>& names)
{
    auto& decodings = Decodings();
    for (const WideString& name : names)
    {
        decodings.erase(CacheKeyOf(name));
    }
}

RCPtr<LBitmap> LBitmap::GetNamedBitmap(const WideString& name)
{
    const WideString key = CacheKeyOf(name);
    NamedBitmapCache& cache = Cache();
    if (auto found = cache.find(key); found != cache.end())
    {
        return found->second;
    }
    RCPtr<LBitmap> bitmap(new LBitmap(name, key));
    if (bitmap->GetBitmapData() == nullptr)
    {
        return nullptr;
    }
    cache.emplace(key, bitmap);
    bitmap->AdjustCyclicRefCount(1);
    return bitmap;
}

QZRESULT LBitmap::ReleaseInternalReferences()
{
    NamedBitmapCache& cache = Cache();
    auto found = cache.find(mCacheKey);
    if (found == cache.end() || found->second.Get() != this)
    {
        return E_FAIL;
    }
    AdjustCyclicRefCount(-1);
    cache.erase(found);
    return S_OK;
}

RCPtr<LBitmap> LBitmap::CreateSubBitmap(std::int32_t x, std::int32_t y, std::int32_t width,
                                        std::int32_t height) const
{
    RCPtr<LBitmap> owner = mParent ? mParent : RCPtr<LBitmap>(const_cast<LBitmap*>(this));
    if (width < 1 || height < 1)
    {
        return RCPtr<LBitmap>(new LBitmap(owner, mX, mY, mWidth, mHeight));
    }
    // Skins give these rectangles; cut them to the image so that no read can leave it.
    const std::int64_t imageWidth = owner->mWidth;
    const std::int64_t imageHeight = owner->mHeight;
    const std::int64_t left = std::clamp<std::int64_t>(std::int64_t{mX} + x, 0, imageWidth);
    const std::int64_t top = std::clamp<std::int64_t>(std::int64_t{mY} + y, 0, imageHeight);
    const std::int64_t right =
        std::clamp<std::int64_t>(std::int64_t{mX} + x + width, 0, imageWidth);
    const std::int64_t bottom =
        std::clamp<std::int64_t>(std::int64_t{mY} + y + height, 0, imageHeight);
    return RCPtr<LBitmap>(new LBitmap(
        owner, static_cast<std::int32_t>(left), static_cast<std::int32_t>(top),
        static_cast<std::int32_t>(right - left), static_cast<std::int32_t>(bottom - top)));
}

RCPtr<LBitmap> LBitmap::Clone() const
{
    Graphics2D::Image* image = GetBitmapData();
    std::unique_ptr<Graphics2D::Image> copy;
    if (image == nullptr ||
        image->CloneArea({mX, mY, mWidth, mHeight}, copy) != Graphics2D::Status::Ok)
    {
        return nullptr;
    }
    return RCPtr<LBitmap>(new LBitmap(std::move(copy), mName));
}

Graphics2D::Image* LBitmap::GetBitmapData() const
{
    for (const LBitmap* bitmap = this; bitmap != nullptr; bitmap = bitmap->mParent.Get())
    {
        if (bitmap->mImage)
        {
            return bitmap->mImage.get();
        }
    }
    return nullptr;
}

RCPtr<LBitmapData> LBitmap::LockPixels(Graphics2D::LockMode mode) const
{
    RCPtr<LBitmap> owner = mParent ? mParent : RCPtr<LBitmap>(const_cast<LBitmap*>(this));
    return RCPtr<LBitmapData>(new LBitmapData(owner, mode));
}

ColorRGBA LBitmap::GetPixelColor(std::int32_t x, std::int32_t y) const
{
    Graphics2D::Image* image = GetBitmapData();
    std::uint32_t argb = 0;
    if (image == nullptr || x < 0 || y < 0 || x >= mWidth || y >= mHeight ||
        image->GetPixel(mX + x, mY + y, argb) != Graphics2D::Status::Ok)
    {
        return ColorRGBA();
    }
    return {Channel(argb, 16) / 255.0f, Channel(argb, 8) / 255.0f, Channel(argb, 0) / 255.0f,
            Channel(argb, 24) / 255.0f};
}

RCPtr<LBitmap> LBitmap::CreatePartBitmap(const ConstRCPtr<LColorizer>& colorizer, float alpha,
                                         const PointT<std::int32_t>& size,
                                         const RCPtr<LBitmap>& image, const RCPtr<LBitmap>& mask)
{
    if (image && mask)
    {
        QZ_THROW_DOMAIN("QZ::LBitmap::ApplyColorizer");
    }
    if (!image && !mask)
    {
        return CreateColorizedBitmap(colorizer, alpha, size);
    }
    RCPtr<LBitmap> clone = (image ? image : mask)->Clone();
    if (clone)
    {
        ApplyColorizer(clone, colorizer, alpha);
    }
    return clone;
}

void LBitmap::ApplyColorizer(const RCPtr<LBitmap>& bitmap, const ConstRCPtr<LColorizer>& colorizer,
                             float alpha)
{
    if (!bitmap || !colorizer)
    {
        QZ_THROW_RUNTIME("QZ::LBitmap::ApplyColorizer");
    }
    Graphics2D::Image* image = bitmap->GetBitmapData();
    Graphics2D::BitmapData data;
    if (image == nullptr ||
        image->LockBits({bitmap->mX, bitmap->mY, bitmap->mWidth, bitmap->mHeight},
                        Graphics2D::LockModeReadWrite, data) != Graphics2D::Status::Ok)
    {
        return;
    }
    const ColorRGBA& first = colorizer->GetFirstColor();
    for (std::int32_t y = 0; y < data.height; ++y)
    {
        const ColorRGBA c = colorizer->IsGradient()
                                ? RowColor(first, colorizer->GetSecondColor(), y, data.height)
                                : first;
        const float k = c.alpha * alpha;
        auto* row = reinterpret_cast<std::uint32_t*>(data.scan0 + std::ptrdiff_t{y} * data.stride);
        for (std::int32_t x = 0; x < data.width; ++x)
        {
            const std::uint32_t p = row[x];
            row[x] = (p & 0xFF000000u) | (Tint(Channel(p, 16), c.red, k) << 16) |
                     (Tint(Channel(p, 8), c.green, k) << 8) | Tint(Channel(p, 0), c.blue, k);
        }
    }
    image->UnlockBits(data);
}

RCPtr<LBitmap> LBitmap::CreateColorizedBitmap(const ConstRCPtr<LColorizer>& colorizer, float alpha,
                                              const PointT<std::int32_t>& size)
{
    if (size.x <= 0 || size.y <= 0 || !colorizer)
    {
        QZ_THROW_RUNTIME("QZ::LBitmap::CreateColorizedBitmap");
    }
    ColorRGBA first = colorizer->GetFirstColor();
    first.alpha *= alpha;
    if (!colorizer->IsGradient())
    {
        return CreateFilledBitmap(size, first);
    }
    ColorRGBA second = colorizer->GetSecondColor();
    second.alpha *= alpha;
    return CreateGradientFilledBitmap(size, first, second);
}

RCPtr<LBitmap> LBitmap::CreateFilledBitmap(const PointT<std::int32_t>& size, const ColorRGBA& color)
{
    return CreateShadedBitmap("QZ::LBitmap::CreateFilledBitmap", size, color, color);
}

RCPtr<LBitmap> LBitmap::CreateGradientFilledBitmap(const PointT<std::int32_t>& size,
                                                   const ColorRGBA& top, const ColorRGBA& bottom)
{
    return CreateShadedBitmap("QZ::LBitmap::CreateGradientFilledBitmap", size, top, bottom);
}

RCPtr<LBitmap> LBitmap::CreateShadedBitmap(const char* method, const PointT<std::int32_t>& size,
                                           const ColorRGBA& top, const ColorRGBA& bottom)
{
    if (size.x <= 0 || size.y <= 0)
    {
        QZ_THROW_RUNTIME(method);
    }
    std::unique_ptr<Graphics2D::Image> image;
    Graphics2D::BitmapData data;
    if (Graphics2D::Image::Create(size.x, size.y, Graphics2D::PixelFormat::Format32bppARGB,
                                  image) != Graphics2D::Status::Ok ||
        image->LockBits({0, 0, size.x, size.y}, Graphics2D::LockModeWrite, data) !=
            Graphics2D::Status::Ok)
    {
        return nullptr;
    }
    for (std::int32_t y = 0; y < data.height; ++y)
    {
        const std::uint32_t argb =
            (top == bottom ? top : RowColor(top, bottom, y, data.height)).ToARGB();
        auto* row = reinterpret_cast<std::uint32_t*>(data.scan0 + std::ptrdiff_t{y} * data.stride);
        std::fill_n(row, data.width, argb);
    }
    image->UnlockBits(data);
    return RCPtr<LBitmap>(new LBitmap(std::move(image), WideString()));
}

std::int32_t LBitmap::GetHandle(const ConstRCPtr<LBitmap>& bitmap)
{
    return bitmap ? bitmap->mHandle : 0;
}

} // namespace QZ
