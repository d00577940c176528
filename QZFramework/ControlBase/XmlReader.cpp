#include "QZFramework/ControlBase/XmlReader.h"

#include "Platform/Resources/Resources.h"
#include "QZFramework/System/DebugStreams.h"
#include "QZFramework/Utilities/Storage/QZFile.h"

#include <expat.h>

#include <exception>
#include <ostream>

namespace QZ
{
namespace
{

XML_Parser AsParser(void* parser)
{
    return static_cast<XML_Parser>(parser);
}

std::string TooLargeText(std::string_view source, std::size_t size)
{
    return std::string(source) + ": " + std::to_string(size) + " bytes is larger than the " +
           std::to_string(LXmlReader::kMaxDocumentBytes) + " bytes a skin or string table may have";
}

} // namespace

QZRESULT LXmlReader::LoadSource(const WideString& path, std::vector<std::uint8_t>& storage,
                                std::span<const std::uint8_t>& bytes, std::string& error)
{
    const std::string name = path.ToNarrowString().GetString();
    bytes = {};
    if (name.starts_with("::"))
    {
        if (!Resources::FindResource("QZXML", std::string_view(name).substr(2), bytes))
        {
            error = name + ": no embedded resource of that name";
            return E_FAIL;
        }
        if (bytes.size() > kMaxDocumentBytes)
        {
            error = TooLargeText(name, bytes.size());
            bytes = {};
            return E_FAIL;
        }
        return S_OK;
    }
    try
    {
        File file(path, WideString(), File::ModeRead);
        const std::uint32_t length = file.GetLength();
        if (length > kMaxDocumentBytes)
        {
            error = TooLargeText(name, length);
            return E_FAIL;
        }
        storage.resize(length);
        const std::uint32_t read = length == 0 ? 0 : file.Read(storage.data(), length, 0);
        storage.resize(read);
    }
    catch (const std::exception& failure)
    {
        error = name + ": " + failure.what();
        return E_FAIL;
    }
    bytes = storage;
    return S_OK;
}

QZRESULT LXmlReader::Parse(std::span<const std::uint8_t> bytes, IXmlElementSink& sink)
{
    mError.clear();
    mStopMessage.clear();
    if (bytes.size() > kMaxDocumentBytes)
    {
        mError = TooLargeText(mSourceName, bytes.size());
        return E_FAIL;
    }
    XML_Parser parser = XML_ParserCreate(nullptr);
    if (parser == nullptr)
    {
        mError = mSourceName + ": out of memory for the XML parser";
        return E_FAIL;
    }
    mParser = parser;
    mSink = &sink;
    XML_SetUserData(parser, this);
    XML_SetElementHandler(parser, &LXmlReader::OnStartElement, &LXmlReader::OnEndElement);
    XML_SetCharacterDataHandler(parser, &LXmlReader::OnCharacterData);
    XML_SetEntityDeclHandler(parser, &LXmlReader::OnEntityDeclaration);
#ifdef XML_DTD
    XML_SetParamEntityParsing(parser, XML_PARAM_ENTITY_PARSING_NEVER);
#endif
    const XML_Status status = XML_Parse(parser, reinterpret_cast<const char*>(bytes.data()),
                                        static_cast<int>(bytes.size()), XML_TRUE);
    if (status != XML_STATUS_OK)
    {
        const std::string message =
            !mStopMessage.empty() ? mStopMessage : XML_ErrorString(XML_GetErrorCode(parser));
        mError = mSourceName + ":" + std::to_string(XML_GetCurrentLineNumber(parser)) + ":" +
                 std::to_string(XML_GetCurrentColumnNumber(parser)) + ": " + message;
    }
    XML_ParserFree(parser);
    mParser = nullptr;
    mSink = nullptr;
    return mError.empty() ? S_OK : E_FAIL;
}

void LXmlReader::Fail(std::string_view message)
{
    if (mParser != nullptr && mStopMessage.empty())
    {
        mStopMessage = message;
        XML_StopParser(AsParser(mParser), XML_FALSE);
    }
}

void LXmlReader::Warn(std::string_view message)
{
    if (mWarnings.size() > kMaxWarnings)
    {
        return;
    }
    mWarnings.push_back(mWarnings.size() < kMaxWarnings
                            ? Locate(message)
                            : mSourceName + ": further warnings not shown");
    DebugStreams::Narrow() << "warning: " << mWarnings.back() << std::endl;
}

std::uint64_t LXmlReader::GetCurrentLine() const
{
    return mParser != nullptr ? XML_GetCurrentLineNumber(AsParser(mParser)) : 0;
}

std::string LXmlReader::Locate(std::string_view message) const
{
    return mSourceName + ":" + std::to_string(GetCurrentLine()) + ": " + std::string(message);
}

void LXmlReader::OnStartElement(void* user, const char* name, const char** attributes)
{
    auto* reader = static_cast<LXmlReader*>(user);
    reader->mSink->StartElement(name, attributes);
}

void LXmlReader::OnEndElement(void* user, const char* name)
{
    auto* reader = static_cast<LXmlReader*>(user);
    reader->mSink->EndElement(name);
}

void LXmlReader::OnCharacterData(void* user, const char* text, int length)
{
    auto* reader = static_cast<LXmlReader*>(user);
    reader->mSink->CharacterData(std::string_view(text, static_cast<std::size_t>(length)));
}

void LXmlReader::OnEntityDeclaration(void* user, const char*, int, const char*, int, const char*,
                                     const char*, const char*, const char*)
{
    static_cast<LXmlReader*>(user)->Fail("entity declarations are not allowed");
}

} // namespace QZ
