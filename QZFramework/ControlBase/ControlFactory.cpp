#include "QZFramework/ControlBase/ControlFactory.h"

#include "QZFramework/ControlBase/SkinReader.h"
#include "QZFramework/ControlBase/XmlReader.h"
#include "QZFramework/System/DebugStreams.h"
#include "QZFramework/Utilities/Graphics/Bitmap.h"

#include <algorithm>
#include <exception>
#include <ostream>

namespace QZ
{
namespace
{

std::string Narrow(const WideString& text)
{
    return text.ToNarrowString().GetString();
}

// Takes a control that failed to be created out of its tree and breaks its links, so nothing of
// it stays behind.
void Discard(const RCPtr<LControl>& control)
{
    control->SetParent(RCPtr<LControl>());
    control->GetChildren().RemoveAll();
}

} // namespace

LControlFactory::LControlFactory(const WideString& productName, const WideString& applicationID)
    : mProductName(productName), mApplicationID(applicationID)
{
}

QZRESULT LControlFactory::Fail(std::string message)
{
    mLastError = std::move(message);
    DebugStreams::Narrow() << "LControlFactory: " << mLastError << std::endl;
    return E_FAIL;
}

WideString LControlFactory::ResolvePath(const WideString& path) const
{
    const std::u16string_view text = path.GetString();
    if (text.starts_with(u"::") || text.starts_with(u"/") || mBaseFolder.IsEmpty() ||
        mBaseFolder == u"::")
    {
        return path;
    }
    WideString full = mBaseFolder;
    if (!std::u16string_view(full.GetString()).ends_with(u"/"))
    {
        full += WideString(u"/");
    }
    return full + path;
}

QZRESULT LControlFactory::ReadStringTables(std::span<const std::uint8_t> bytes,
                                           const std::string& sourceName, std::uint32_t locale,
                                           LStringTableMap& tables)
{
    LStringTableReader reader(sourceName, locale);
    if (Failed(reader.Read(bytes, tables)))
    {
        return Fail(reader.GetError());
    }
    return S_OK;
}

QZRESULT LControlFactory::LoadStringTables(const WideString& applicationPath,
                                           const WideString& frameworkPath, std::uint32_t locale)
{
    LStringTableMap tables;
    for (const WideString* path : {&frameworkPath, &applicationPath})
    {
        std::vector<std::uint8_t> storage;
        std::span<const std::uint8_t> bytes;
        std::string error;
        if (Failed(LXmlReader::LoadSource(ResolvePath(*path), storage, bytes, error)))
        {
            return Fail(error);
        }
        if (Failed(ReadStringTables(bytes, Narrow(*path), locale, tables)))
        {
            return E_FAIL;
        }
    }
    mStringTables = std::move(tables);
    mLastError.clear();
    return S_OK;
}

QZRESULT LControlFactory::LoadStringTablesFrom(std::span<const std::uint8_t> bytes,
                                               const std::string& sourceName, std::uint32_t locale)
{
    LStringTableMap tables;
    if (Failed(ReadStringTables(bytes, sourceName, locale, tables)))
    {
        return E_FAIL;
    }
    mStringTables = std::move(tables);
    mLastError.clear();
    return S_OK;
}

QZRESULT LControlFactory::LoadSkins(const WideString& path)
{
    return UseSkins(ReadSkins(path));
}

QZRESULT LControlFactory::LoadSkinsFrom(std::span<const std::uint8_t> bytes,
                                        const std::string& sourceName)
{
    return UseSkins(ReadSkinDocument(bytes, sourceName));
}

LControlFactory::SkinDocument LControlFactory::ReadSkins(const WideString& path) const
{
    std::vector<std::uint8_t> storage;
    std::span<const std::uint8_t> bytes;
    SkinDocument document;
    if (Failed(LXmlReader::LoadSource(ResolvePath(path), storage, bytes, document.error)))
    {
        return document;
    }
    return ReadSkinDocument(bytes, Narrow(path));
}

LControlFactory::SkinDocument LControlFactory::ReadSkinDocument(std::span<const std::uint8_t> bytes,
                                                                const std::string& sourceName)
{
    SkinDocument document;
    // Images are decoded on threads of their own; started as their parts are read, near the top
    // of a skin, they are ready sooner than after the rest of the document (thousands of
    // controls) has been read.
    LSkinReader reader(sourceName,
                       [&document](const WideString& image)
                       {
                           LBitmap::PrepareNamedBitmaps({image});
                           document.images.push_back(image);
                       });
    if (Failed(reader.Read(bytes, document.skins)))
    {
        document.error = reader.GetError();
    }
    else if (document.skins.empty())
    {
        document.error = sourceName + ": the file holds no Skin";
    }
    return document;
}

QZRESULT LControlFactory::UseSkins(SkinDocument document)
{
    if (!document.error.empty())
    {
        LBitmap::ForgetPreparedBitmaps(document.images);
        return Fail(std::move(document.error));
    }
    mSkins = std::move(document.skins);
    mCurrentSkin = 0;
    mLastError.clear();
    PrepareSkinImages();
    return S_OK;
}

void LControlFactory::PrepareSkinImages() const
{
    const RCPtr<LSkin> skin = GetSkin(mCurrentSkin);
    if (!skin)
    {
        return;
    }
    std::vector<WideString> images;
    for (const auto& [name, part] : skin->parts)
    {
        for (const WideString* image : {&part->image, &part->mask})
        {
            if (!image->IsEmpty())
            {
                images.push_back(*image);
            }
        }
    }
    LBitmap::PrepareNamedBitmaps(images);
}

QZRESULT LControlFactory::RegisterControlClass(const WideString& className, CreateFunction create)
{
    mClasses[std::u16string(className.GetString())] = create;
    return S_OK;
}

QZRESULT LControlFactory::RunCreationPhases(RCPtr<LControl>& out,
                                            const ConstRCPtr<LControlDescriptor>& descriptor)
{
    const RCPtr<LControl> control = out;
    try
    {
        control->ApplyDescriptor(descriptor);
        control->CreateChildren(descriptor);
        const QZRESULT result = control->Initialize();
        if (Failed(result))
        {
            Discard(control);
            out = nullptr;
            return result;
        }
        control->PostInitialize();
        control->SetCreated();
    }
    catch (...)
    {
        Discard(control);
        out = nullptr;
        throw;
    }
    return S_OK;
}

QZRESULT LControlFactory::CreateControl(RCPtr<LControl>& out,
                                        const ConstRCPtr<LControlDescriptor>& descriptor,
                                        const RCPtr<LControl>& parent)
{
    // The parent may be the out pointer itself.
    const RCPtr<LControl> owner = parent;
    out = nullptr;
    if (!descriptor)
    {
        return E_INVALIDARG;
    }
    const auto found = mClasses.find(std::u16string_view(descriptor->className.GetString()));
    if (found == mClasses.end() || found->second == nullptr)
    {
        DebugStreams::Narrow() << "LControlFactory: no control class \""
                               << Narrow(descriptor->className) << "\" for \""
                               << Narrow(descriptor->name) << "\"; skipped" << std::endl;
        return S_FALSE;
    }
    const QZRESULT result = found->second(out, owner, descriptor);
    if (Failed(result))
    {
        out = nullptr;
    }
    return result;
}

QZRESULT LControlFactory::CreateRootControl(RCPtr<LControl>& out, const WideString& name)
{
    out = nullptr;
    const RCPtr<LControlDescriptor>& descriptor = FindSkinSubControl(name);
    if (!descriptor)
    {
        return E_FAIL;
    }
    return CreateControl(out, descriptor, RCPtr<LControl>());
}

const RCPtr<LControlDescriptor>& LControlFactory::FindSkinSubControl(const WideString& name) const
{
    static const RCPtr<LControlDescriptor> none;
    const RCPtr<LSkin> skin = GetSkin(mCurrentSkin);
    return skin ? skin->FindSubControl(name.GetString()) : none;
}

QZRESULT LControlFactory::ApplySkinTo(const RCPtr<LControl>& control)
{
    if (!control)
    {
        return E_FAIL;
    }
    const RCPtr<LControlDescriptor>& descriptor = FindSkinSubControl(control->GetName());
    if (!descriptor)
    {
        return E_FAIL;
    }
    return control->ApplyDescriptor(descriptor);
}

RCPtr<LSkin> LControlFactory::GetSkin(std::int32_t index) const
{
    return index >= 0 && index < GetSkinCount() ? mSkins[static_cast<std::size_t>(index)]
                                                : RCPtr<LSkin>();
}

void LControlFactory::SetCurrentSkinIndex(std::int32_t index)
{
    mCurrentSkin = std::clamp(index, 0, std::max(GetSkinCount() - 1, 0));
    PrepareSkinImages();
}

bool LControlFactory::GetSkinFont(WideString& face, float& size, std::int32_t& style) const
{
    const RCPtr<LSkin> skin = GetSkin(mCurrentSkin);
    if (!skin)
    {
        return true;
    }
    bool unchanged = true;
    if (!skin->fontName.IsEmpty())
    {
        face = skin->fontName;
        unchanged = false;
    }
    if (skin->fontSize >= 1.0f)
    {
        size = skin->fontSize;
        unchanged = false;
    }
    if (skin->fontStyle != -1)
    {
        style = skin->fontStyle;
        unchanged = false;
    }
    return unchanged;
}

RCPtr<LStringTable> LControlFactory::FindStringTable(const WideString& id) const
{
    return FindStringTable(std::u16string_view(id.GetString()));
}

RCPtr<LStringTable> LControlFactory::FindStringTable(std::u16string_view id) const
{
    const auto found = mStringTables.find(id);
    return found != mStringTables.end() ? found->second : RCPtr<LStringTable>();
}

RCPtr<LStringTable>& LControlFactory::GetStringTableFor(RCPtr<LStringTable>& out,
                                                        const LControl* parent,
                                                        const WideString& name) const
{
    // Every control asks while the tree is built: the key is made in one piece.
    const auto keyOf = [&name](const WideString& owner)
    {
        std::u16string key;
        key.reserve(static_cast<std::size_t>(owner.GetLength() + name.GetLength()) + 1);
        return key.append(owner.GetString()).append(1, u'|').append(name.GetString());
    };
    if (parent != nullptr)
    {
        const ConstRCPtr<LControlDescriptor>& descriptor = parent->GetDescriptor();
        out = descriptor ? FindStringTable(keyOf(descriptor->className)) : RCPtr<LStringTable>();
        return out;
    }
    out = FindStringTable(keyOf(mApplicationID));
    return out ? out : GetAppStringTable(out);
}

RCPtr<LStringTable>& LControlFactory::GetAppStringTable(RCPtr<LStringTable>& out) const
{
    out = FindStringTable(WideString(u"|") + mApplicationID);
    return out;
}

RCPtr<LStringTable>& LControlFactory::GetFrameworkStringTable(RCPtr<LStringTable>& out) const
{
    out = FindStringTable(WideString(kFrameworkTableID));
    return out;
}

} // namespace QZ
