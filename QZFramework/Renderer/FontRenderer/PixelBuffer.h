// A block of pixels that owns its storage: glyph bitmaps and glyph atlas images.
//
// The stride counts elements from one row to the next. Every pixel address is checked against the
// storage, so a caller that asks past the end gets null rather than a stray pointer.
#pragma once

#include "QZFramework/ObjectBase/Exception.h"
#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/ObjectBase/RefCountedObject.h"
#include "QZFramework/Utilities/Graphics/PixelBuffer.h"
#include "QZFramework/Utilities/Storage/LBufferT.h"

#include <cstdint>
#include <cstring>
#include <new>

namespace QZ
{

template <class T> class LPixelBuffer : public IPixelBuffer<T>, public virtual LRefCountedObject
{
public:
    // A width x height block. Without data the pixels are zero and a stride of 0 becomes the
    // width rounded up to a multiple of 16; with data, stride x height elements are copied from
    // it. Throws Exception<std::bad_alloc> when the block cannot be held.
    static RCPtr<LPixelBuffer> Create(std::uint32_t width, std::uint32_t height,
                                      std::uint32_t stride, const T* data)
    {
        if (data == nullptr && stride == 0)
        {
            stride = static_cast<std::uint32_t>((std::uint64_t{width} + 15u) & ~std::uint64_t{15});
        }
        RCPtr<LPixelBuffer> buffer(new LPixelBuffer(width, height, stride));
        const std::uint32_t bytes = StorageBytes(stride, height, "QZ::LPixelBuffer::Create");
        buffer->mStorage = RCPtr<LIBuffer>(new LByteBuffer(bytes, 0, data == nullptr));
        if (data != nullptr && bytes != 0)
        {
            std::memcpy(buffer->mStorage->GetData(), data, bytes);
        }
        return buffer;
    }

    // Resizes the block to the given number of rows, keeping the rows it had and zeroing the new
    // ones; E_FAIL, with the block unchanged, when the storage cannot be held.
    [[nodiscard]] QZRESULT SetHeight(std::uint32_t rows)
    {
        const std::uint64_t wanted = std::uint64_t{mStride} * rows * sizeof(T);
        if (wanted > UINT32_MAX || (!mStorage && wanted != 0))
        {
            return E_FAIL;
        }
        const std::uint32_t oldBytes = mStorage ? mStorage->GetSize() : 0;
        try
        {
            if (mStorage)
            {
                mStorage->Resize(static_cast<std::uint32_t>(wanted));
            }
        }
        catch (const std::bad_alloc&)
        {
            return E_FAIL;
        }
        if (wanted > oldBytes)
        {
            std::memset(static_cast<char*>(mStorage->GetData()) + oldBytes, 0, wanted - oldBytes);
        }
        mHeight = rows;
        return S_OK;
    }

    [[nodiscard]] std::int32_t GetWidth() const override
    {
        return static_cast<std::int32_t>(mWidth);
    }
    [[nodiscard]] std::int32_t GetHeight() const override
    {
        return static_cast<std::int32_t>(mHeight);
    }
    [[nodiscard]] std::int32_t GetStride() const override
    {
        return static_cast<std::int32_t>(mStride * sizeof(T));
    }
    [[nodiscard]] T* GetPixels() const override { return GetPixelAddress(0, 0); }
    [[nodiscard]] std::uint32_t GetElementStride() const { return mStride; }

    // The pixel at column x of row y, or null when it lies outside the storage.
    [[nodiscard]] T* GetPixelAddress(std::uint32_t x, std::uint32_t y) const
    {
        const std::uint64_t offset = std::uint64_t{mStride} * y + x;
        if (!mStorage || (offset + 1) * sizeof(T) > mStorage->GetSize())
        {
            return nullptr;
        }
        return static_cast<T*>(mStorage->GetData()) + offset;
    }

private:
    LPixelBuffer(std::uint32_t width, std::uint32_t height, std::uint32_t stride)
        : mWidth(width), mHeight(height), mStride(stride)
    {
    }

    static std::uint32_t StorageBytes(std::uint32_t stride, std::uint32_t rows, const char* method)
    {
        const std::uint64_t bytes = std::uint64_t{stride} * rows * sizeof(T);
        if (bytes > UINT32_MAX)
        {
            QZ_THROW_BAD_ALLOC(method);
        }
        return static_cast<std::uint32_t>(bytes);
    }

    std::uint32_t mWidth;
    std::uint32_t mHeight;
    std::uint32_t mStride;
    RCPtr<LIBuffer> mStorage;
};

} // namespace QZ
