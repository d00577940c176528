#include "QZFramework/ControlBase/StringTableReader.h"

#include "QZFramework/ControlBase/XmlValues.h"

#include <limits>
#include <optional>
#include <vector>

namespace QZ
{
namespace
{

constexpr std::string_view kRoot = "Korvane_StringTable_Definitions";
constexpr std::uint32_t kPrimaryLanguageMask = 0x3FF;

class StringTableSink : public IXmlElementSink
{
public:
    StringTableSink(LXmlReader& reader, std::uint32_t locale) : mReader(reader), mLocale(locale) {}

    void StartElement(std::string_view name, const char** attributes) override;
    void EndElement(std::string_view name) override;
    void CharacterData(std::string_view text) override;

    LStringTableMap mTables;

private:
    struct Candidate
    {
        std::uint32_t locale;
        std::string text;
    };

    enum class Level
    {
        Outside,
        Root,
        Table,
        String,
        Text,
        Ignored
    };

    void StartTable(const char** attributes);
    void StartString(const char** attributes);
    void StartText(const char** attributes);
    void FinishString();
    [[nodiscard]] const Candidate* ChooseText() const;

    LXmlReader& mReader;
    std::uint32_t mLocale;
    std::vector<Level> mLevels;
    RCPtr<LStringTable> mTable;
    std::optional<std::u16string> mStringID;
    std::vector<Candidate> mCandidates;
};

void StringTableSink::StartElement(std::string_view name, const char** attributes)
{
    const Level parent = mLevels.empty() ? Level::Outside : mLevels.back();
    Level level = Level::Ignored;
    if (parent == Level::Outside)
    {
        if (name != kRoot)
        {
            mReader.Fail("the root element is not " + std::string(kRoot));
            return;
        }
        level = Level::Root;
    }
    else if (parent == Level::Root && name == "StringTable")
    {
        level = Level::Table;
        StartTable(attributes);
    }
    else if (parent == Level::Table && name == "String")
    {
        level = Level::String;
        StartString(attributes);
    }
    else if (parent == Level::String && name == "Text")
    {
        level = Level::Text;
        StartText(attributes);
    }
    else if (parent != Level::Ignored)
    {
        mReader.Warn("unknown element <" + std::string(name) + "> ignored");
    }
    mLevels.push_back(level);
}

void StringTableSink::EndElement(std::string_view)
{
    if (mLevels.empty())
    {
        return;
    }
    const Level level = mLevels.back();
    mLevels.pop_back();
    if (level == Level::String)
    {
        FinishString();
    }
    else if (level == Level::Table)
    {
        mTable = nullptr;
    }
}

void StringTableSink::CharacterData(std::string_view text)
{
    if (!mLevels.empty() && mLevels.back() == Level::Text)
    {
        mCandidates.back().text.append(text);
    }
}

void StringTableSink::StartTable(const char** attributes)
{
    const char* id = XmlValues::Find(attributes, "ID");
    if (id == nullptr)
    {
        mReader.Warn("<StringTable> without ID: its strings are ignored");
        return;
    }
    const WideString wideID = XmlValues::ToWide(id);
    RCPtr<LStringTable>& table = mTables[std::u16string(wideID.GetString())];
    if (!table)
    {
        table = new LStringTable(wideID);
    }
    mTable = table;
}

void StringTableSink::StartString(const char** attributes)
{
    mCandidates.clear();
    mStringID.reset();
    const char* id = XmlValues::Find(attributes, "ID");
    if (id == nullptr)
    {
        mReader.Warn("<String> without ID ignored");
        return;
    }
    mStringID = XmlValues::ToWide(id).GetString();
}

void StringTableSink::StartText(const char** attributes)
{
    std::int64_t locale = 0;
    const char* text = XmlValues::Find(attributes, "LCID");
    if (!XmlValues::ReadInteger(text, 0, std::numeric_limits<std::uint32_t>::max(), locale))
    {
        mReader.Warn("<Text> with a missing or unreadable LCID is taken as locale 0");
        locale = 0;
    }
    mCandidates.push_back({static_cast<std::uint32_t>(locale), {}});
}

const StringTableSink::Candidate* StringTableSink::ChooseText() const
{
    const auto first = [this](auto matches) -> const Candidate*
    {
        for (const Candidate& candidate : mCandidates)
        {
            if (matches(candidate.locale))
            {
                return &candidate;
            }
        }
        return nullptr;
    };
    const Candidate* chosen = first([this](std::uint32_t l) { return l == mLocale; });
    if (chosen == nullptr)
    {
        chosen = first([this](std::uint32_t l)
                       { return (l & kPrimaryLanguageMask) == (mLocale & kPrimaryLanguageMask); });
    }
    if (chosen == nullptr)
    {
        chosen = first([](std::uint32_t l) { return l == LStringTableReader::kEnglish; });
    }
    return chosen != nullptr || mCandidates.empty() ? chosen : &mCandidates.front();
}

void StringTableSink::FinishString()
{
    if (mTable && mStringID)
    {
        const Candidate* chosen = ChooseText();
        mTable->SetString(*mStringID,
                          chosen != nullptr ? XmlValues::ToWide(chosen->text) : WideString());
    }
    mStringID.reset();
    mCandidates.clear();
}

} // namespace

QZRESULT LStringTableReader::Read(std::span<const std::uint8_t> bytes, LStringTableMap& tables)
{
    StringTableSink sink(mReader, mLocale);
    const QZRESULT result = mReader.Parse(bytes, sink);
    if (Failed(result))
    {
        return result;
    }
    for (auto& [id, table] : sink.mTables)
    {
        RCPtr<LStringTable>& target = tables[id];
        if (!target)
        {
            target = table;
            continue;
        }
        LStringEntries entries;
        table->GetAllEntries(entries);
        for (const LStringEntry& entry : entries)
        {
            target->SetString(entry.key.GetString(), entry.text);
        }
    }
    return S_OK;
}

} // namespace QZ
