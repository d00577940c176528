// The Expat front end shared by the skin and string-table readers.
//
// Skins and string tables come from outside (embedded resources or files a user may edit), so the
// reader is defensive: a source larger than kMaxDocumentBytes is refused before it is parsed,
// entity declarations are refused (no entity expansion can grow a document), and every failure
// comes back as a negative result with a text naming the source, the line and Expat's message.
// Warnings about content a reader does not understand go to the debug stream, prefixed with the
// source and line, and are kept for the caller.
#pragma once

#include "QZFramework/ObjectBase/Exception.h"
#include "QZFramework/Utilities/Storage/StringT.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace QZ
{

// What a reader does with the parsed elements. Attribute lists are Expat's: name, value pairs
// ending in a null name; all text is UTF-8.
class IXmlElementSink
{
public:
    virtual ~IXmlElementSink() = default;
    virtual void StartElement(std::string_view name, const char** attributes) = 0;
    virtual void EndElement(std::string_view name) = 0;
    virtual void CharacterData(std::string_view text) = 0;
};

class LXmlReader
{
public:
    static constexpr std::size_t kMaxDocumentBytes = 16u * 1024u * 1024u;
    // Warnings kept and written per document; a note replaces the rest.
    static constexpr std::size_t kMaxWarnings = 200;

    explicit LXmlReader(std::string sourceName) : mSourceName(std::move(sourceName)) {}

    // The bytes of a source: "::NAME" is the embedded resource NAME of type "QZXML", anything
    // else a file. E_FAIL, with the error text set, when it is missing, unreadable or too large.
    [[nodiscard]] static QZRESULT LoadSource(const WideString& path,
                                             std::vector<std::uint8_t>& storage,
                                             std::span<const std::uint8_t>& bytes,
                                             std::string& error);

    // Parses the whole document into the sink. E_FAIL, with GetError set, when the document is
    // too large, not well-formed, declares entities, or the sink calls Fail.
    [[nodiscard]] QZRESULT Parse(std::span<const std::uint8_t> bytes, IXmlElementSink& sink);

    // From inside the sink's calls: stops the parse with this message.
    void Fail(std::string_view message);
    // From inside the sink's calls: "<source>:<line>: <message>" on the debug stream (up to
    // kMaxWarnings of them).
    void Warn(std::string_view message);

    [[nodiscard]] std::uint64_t GetCurrentLine() const;
    [[nodiscard]] const std::string& GetError() const { return mError; }
    [[nodiscard]] const std::vector<std::string>& GetWarnings() const { return mWarnings; }
    [[nodiscard]] const std::string& GetSourceName() const { return mSourceName; }

private:
    static void OnStartElement(void* user, const char* name, const char** attributes);
    static void OnEndElement(void* user, const char* name);
    static void OnCharacterData(void* user, const char* text, int length);
    static void OnEntityDeclaration(void* user, const char* name, int parameterEntity,
                                    const char* value, int valueLength, const char* base,
                                    const char* systemId, const char* publicId,
                                    const char* notationName);
    std::string Locate(std::string_view message) const;

    std::string mSourceName;
    std::string mError;
    std::string mStopMessage;
    std::vector<std::string> mWarnings;
    IXmlElementSink* mSink = nullptr;
    void* mParser = nullptr;
};

} // namespace QZ
