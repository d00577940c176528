// Values shared by the 2D graphics layer: result codes, pixel formats, drawing modes and the
// plain geometry that its calls take.
//
// The layer stands where GDI+ stood; where the program relies on a GDI+ number (a pixel format, a
// mode, a status) the same number is used here.
#pragma once

#include <cstdint>

namespace QZ::Graphics2D
{

// Results of every call; objects also keep the last result other than Ok (GetLastStatus).
enum class Status : std::int32_t
{
    Ok = 0,
    GenericError = 1,
    InvalidParameter = 2,
    OutOfMemory = 3,
    WrongState = 8,
    FileNotFound = 10,
    ValueOverflow = 11,
    UnknownImageFormat = 13,
    FontFamilyNotFound = 14
};

// Pixels are 32-bit words 0xAARRGGBB in native byte order. ARGB holds straight colour, PARGB
// colour already multiplied by alpha.
enum class PixelFormat : std::uint32_t
{
    Format32bppARGB = 0x26200A,
    Format32bppPARGB = 0xE200B
};

enum LockMode : std::uint32_t
{
    LockModeRead = 1,
    LockModeWrite = 2,
    LockModeReadWrite = 3
};

enum class CompositingMode : std::int32_t
{
    SourceOver = 0,
    SourceCopy = 1
};

enum class SmoothingMode : std::int32_t
{
    Default = 0,
    HighSpeed = 1,
    HighQuality = 2,
    None = 3,
    AntiAlias = 4
};

enum class InterpolationMode : std::int32_t
{
    Default = 0,
    LowQuality = 1,
    HighQuality = 2,
    Bilinear = 3,
    Bicubic = 4,
    NearestNeighbor = 5,
    HighQualityBilinear = 6,
    HighQualityBicubic = 7
};

// HighSpeed, None and Default put pixel centres on whole coordinates (a one-pixel line at x = 3
// covers pixel column 3); Half and HighQuality put pixel edges there.
enum class PixelOffsetMode : std::int32_t
{
    Default = 0,
    HighSpeed = 1,
    HighQuality = 2,
    None = 3,
    Half = 4
};

// Order of a transform relative to the current world transform: Prepend applies it first (in
// world coordinates), Append last (in device coordinates).
enum class MatrixOrder : std::int32_t
{
    Prepend = 0,
    Append = 1
};

// Style bits of a font.
enum FontStyle : std::int32_t
{
    FontStyleRegular = 0,
    FontStyleBold = 1,
    FontStyleItalic = 2,
    FontStyleUnderline = 4,
    FontStyleStrikeout = 8
};

enum class Unit : std::int32_t
{
    World = 0,
    Pixel = 2,
    Point = 3
};

struct PointF
{
    float x = 0;
    float y = 0;
};

struct RectI
{
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
};

struct RectF
{
    float x = 0;
    float y = 0;
    float width = 0;
    float height = 0;
};

// A pen draws outlines of that colour and width (in world units).
struct Pen
{
    std::uint32_t argb = 0xFF000000u;
    float width = 1.0f;
};

struct SolidBrush
{
    std::uint32_t argb = 0xFF000000u;
};

// The block of pixels handed out by Image::LockBits: width x height pixels of 32-bit ARGB
// (straight alpha), each row stride bytes after the one before.
struct BitmapData
{
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t stride = 0;
    PixelFormat format = PixelFormat::Format32bppARGB;
    std::uint8_t* scan0 = nullptr;
};

} // namespace QZ::Graphics2D
