#include "UI/TarnSeriesCommon/ButtonAssignment.h"

#include <cstring>

namespace QZ
{
namespace
{

// Message-type numbers of a2 when a1 is not 0.
enum : std::int32_t
{
    kTypeFirstRpnNrpn = 4,
    kTypeLastRpnNrpn = 7,
    kTypeProgram = 17,
    kTypeCCCycle = 18,
    kTypeNoteMomentary = 19,
    kTypeNoteLatching = 20,
    kTypeMMC = 21,
    kTypeCCDecrement = 25,
    kTypeCCIncrement = 26,
    kTypeProgramDecrement = 27,
    kTypeProgramIncrement = 28,
    kTypeProgramCycle = 29
};

// Block positions a0 to a9.
enum : std::int32_t
{
    kChannel = 0,
    kKind = 1,
    kType = 2,
    kNumber = 3,
    kLow = 4,
    kFlag1 = 5,
    kSecond = 6,
    kFlag2 = 7,
    kThird = 8,
    kHigh = 9
};

constexpr std::int32_t kOtherListCount = 16;
constexpr std::int32_t kRpnNrpnListCount = 4;
// The MMC list: indices 0 to 10 are commands 1 to 11, 11 is command 13 (MMC Reset), 12 "Other".
constexpr std::int32_t kMMCResetIndex = 11;
constexpr std::int32_t kMMCResetCommand = 13;
constexpr std::int32_t kMMCOtherIndex = 12;

constexpr std::array<const char*, kButtonPageCount> kPageNames{
    "ccAbsolutePage",    "ccCyclePage", "ccIncDecPage", "programPage", "programCyclePage",
    "programIncDecPage", "notePage",    "mmcPage",      "nrpnRpnPage", "otherPage"};

std::int32_t At(const ButtonAssignmentBlock& block, std::int32_t index)
{
    return block.GetAt(index);
}

bool IsCycleOrIncDecPair(std::int32_t type, std::int32_t first, std::int32_t second)
{
    return type == first || type == second;
}

// The "other" list skips the RPN/NRPN types 4 to 7 and the types 17 to 21.
std::int32_t OtherIndexFromType(std::int32_t type)
{
    const std::int32_t index = type < 4 ? type : type < 17 ? type - 4 : type - 9;
    return index >= 0 && index < kOtherListCount ? index : -1;
}

std::int32_t OtherTypeFromIndex(std::int32_t index)
{
    return index <= 3 ? index : index <= 12 ? index + 4 : index + 9;
}

std::int32_t MMCIndexFromCommand(std::int32_t command)
{
    if (command >= 1 && command <= kMMCResetIndex)
    {
        return command - 1;
    }
    return command == kMMCResetCommand ? kMMCResetIndex : kMMCOtherIndex;
}

// A cycle keeps its count in the two flags: 1/1 two values, 0/1 three, anything else four.
void DecodeCycle(const ButtonAssignmentBlock& block, ButtonAssignment& out)
{
    out.low = At(block, kLow);
    out.high = At(block, kHigh);
    if (At(block, kFlag1) == 1 && At(block, kFlag2) == 1)
    {
        out.choice = 0;
        return;
    }
    out.second = At(block, kSecond);
    if (At(block, kFlag1) == 0 && At(block, kFlag2) == 1)
    {
        out.choice = 1;
        return;
    }
    out.choice = 2;
    out.third = At(block, kThird);
}

void EncodeCycle(const ButtonAssignment& in, ButtonAssignmentBlock& block)
{
    block.GetAt(kLow) = static_cast<signed char>(in.low);
    block.GetAt(kHigh) = static_cast<signed char>(in.high);
    block.GetAt(kFlag1) = in.choice == 0 ? 1 : 0;
    block.GetAt(kFlag2) = in.choice == 0 || in.choice == 1 ? 1 : 0;
    if (in.choice != 0)
    {
        block.GetAt(kSecond) = static_cast<signed char>(in.second);
    }
    if (in.choice != 0 && in.choice != 1)
    {
        block.GetAt(kThird) = static_cast<signed char>(in.third);
    }
}

void SetIncDecFlags(ButtonAssignmentBlock& block)
{
    block.GetAt(kFlag1) = 1;
    block.GetAt(kFlag2) = 1;
}

// The stored byte at `index` when the stored block shows the same page, else `fallback`.
signed char StoredOr(const ButtonAssignmentBlock& stored, ButtonPage page, std::int32_t index,
                     signed char fallback)
{
    if (stored.GetCount() != kButtonBlockSize || DecodeButtonAssignment(stored).page != page)
    {
        return fallback;
    }
    return stored.GetAt(index);
}

void EncodeMMC(const ButtonAssignment& in, const ButtonAssignmentBlock& stored,
               ButtonAssignmentBlock& block)
{
    signed char command = static_cast<signed char>(in.choice + 1);
    if (in.choice == kMMCResetIndex)
    {
        command = kMMCResetCommand;
    }
    else if (in.choice < 0 || in.choice > kMMCResetIndex)
    {
        command = StoredOr(stored, ButtonPage::MMC, kLow, 1);
    }
    block.GetAt(kLow) = command;
}

void EncodeTyped(const ButtonAssignment& in, const ButtonAssignmentBlock& stored,
                 ButtonAssignmentBlock& block)
{
    const auto byte = [](std::int32_t n) { return static_cast<signed char>(n); };
    switch (in.page)
    {
    case ButtonPage::CCIncDec:
        block.GetAt(kType) = in.choice == 0 ? kTypeCCIncrement : kTypeCCDecrement;
        SetIncDecFlags(block);
        return;
    case ButtonPage::ProgramIncDec:
        block.GetAt(kType) = in.choice == 1 ? kTypeProgramDecrement : kTypeProgramIncrement;
        SetIncDecFlags(block);
        return;
    case ButtonPage::NrpnRpn:
        block.GetAt(kType) = in.choice >= 0 && in.choice < kRpnNrpnListCount
                                 ? byte(in.choice + kTypeFirstRpnNrpn)
                                 : StoredOr(stored, in.page, kType, kTypeFirstRpnNrpn);
        return;
    case ButtonPage::Other:
        block.GetAt(kType) = in.choice >= 0 && in.choice < kOtherListCount
                                 ? byte(OtherTypeFromIndex(in.choice))
                                 : StoredOr(stored, in.page, kType, 0);
        return;
    case ButtonPage::MMC:
        block.GetAt(kType) = kTypeMMC;
        EncodeMMC(in, stored, block);
        return;
    case ButtonPage::Note:
        block.GetAt(kType) = in.choice == 0 ? kTypeNoteMomentary : kTypeNoteLatching;
        return;
    case ButtonPage::Program:
        block.GetAt(kType) = kTypeProgram;
        return;
    case ButtonPage::CCCycle:
        block.GetAt(kType) = kTypeCCCycle;
        return;
    case ButtonPage::ProgramCycle:
        block.GetAt(kType) = kTypeProgramCycle;
        return;
    case ButtonPage::CCAbsolute:
        return;
    }
}

} // namespace

const char* GetButtonPageName(ButtonPage page)
{
    return kPageNames[static_cast<std::size_t>(page)];
}

std::optional<ButtonPage> FindButtonPage(const char* name)
{
    for (std::size_t i = 0; name != nullptr && i < kPageNames.size(); ++i)
    {
        if (std::strcmp(kPageNames[i], name) == 0)
        {
            return static_cast<ButtonPage>(i);
        }
    }
    return std::nullopt;
}

void NormalizeButtonModeValues(ButtonAssignmentBlock& block)
{
    if (block.GetCount() != kButtonBlockSize || block.GetAt(kKind) <= 0)
    {
        return;
    }
    const bool bothFlags = block.GetAt(kFlag1) != 0 && block.GetAt(kFlag2) != 0;
    const std::int32_t type = block.GetAt(kType);
    if (!bothFlags && IsCycleOrIncDecPair(type, kTypeCCDecrement, kTypeCCIncrement))
    {
        block.GetAt(kType) = kTypeCCCycle;
    }
    if (!bothFlags && IsCycleOrIncDecPair(type, kTypeProgramDecrement, kTypeProgramIncrement))
    {
        block.GetAt(kType) = kTypeProgramCycle;
    }
}

ButtonAssignment DecodeButtonAssignment(const ButtonAssignmentBlock& given)
{
    ButtonAssignment out;
    if (given.GetCount() != kButtonBlockSize)
    {
        return out;
    }
    ButtonAssignmentBlock block = given;
    NormalizeButtonModeValues(block);
    out.channel =
        ListIndexFromByte(static_cast<std::uint8_t>(At(block, kChannel)), kChannelListCount);
    const std::int32_t type = At(block, kType);
    out.number = At(block, kNumber);
    out.low = At(block, kLow);
    out.high = At(block, kHigh);
    if (At(block, kKind) == 0)
    {
        out.page = ButtonPage::CCAbsolute;
        out.number = type;
    }
    else if (type == kTypeCCCycle || type == kTypeProgramCycle)
    {
        out.page = type == kTypeCCCycle ? ButtonPage::CCCycle : ButtonPage::ProgramCycle;
        DecodeCycle(block, out);
    }
    else if (type == kTypeProgram)
    {
        out.page = ButtonPage::Program;
    }
    else if (type == kTypeNoteMomentary || type == kTypeNoteLatching)
    {
        out.page = ButtonPage::Note;
        out.choice = type == kTypeNoteLatching ? 1 : 0;
    }
    else if (IsCycleOrIncDecPair(type, kTypeCCDecrement, kTypeCCIncrement))
    {
        out.page = ButtonPage::CCIncDec;
        out.choice = type == kTypeCCDecrement ? 1 : 0;
    }
    else if (IsCycleOrIncDecPair(type, kTypeProgramDecrement, kTypeProgramIncrement))
    {
        out.page = ButtonPage::ProgramIncDec;
        out.choice = type == kTypeProgramDecrement ? 1 : 0;
    }
    else if (type == kTypeMMC)
    {
        out.page = ButtonPage::MMC;
        out.choice = MMCIndexFromCommand(out.low);
    }
    else if (type >= kTypeFirstRpnNrpn && type <= kTypeLastRpnNrpn)
    {
        out.page = ButtonPage::NrpnRpn;
        out.choice = type - kTypeFirstRpnNrpn;
    }
    else
    {
        out.page = ButtonPage::Other;
        out.choice = OtherIndexFromType(type);
    }
    return out;
}

ButtonAssignmentBlock EncodeButtonAssignment(const ButtonAssignment& in,
                                             const ButtonAssignmentBlock& stored)
{
    ButtonAssignmentBlock block(kButtonBlockSize);
    const auto byte = [](std::int32_t n) { return static_cast<signed char>(n); };
    block.GetAt(kChannel) =
        in.channel >= 0 && in.channel < kChannelListCount
            ? byte(in.channel)
            : (stored.GetCount() == kButtonBlockSize ? stored.GetAt(kChannel) : 0);
    block.GetAt(kKind) = in.page == ButtonPage::CCAbsolute ? 0 : 1;
    if (in.page == ButtonPage::CCAbsolute)
    {
        block.GetAt(kType) = byte(in.number);
        block.GetAt(kLow) = byte(in.low);
        block.GetAt(kHigh) = byte(in.high);
        return block;
    }
    EncodeTyped(in, stored, block);
    const bool usesNumber = in.page != ButtonPage::ProgramCycle &&
                            in.page != ButtonPage::ProgramIncDec && in.page != ButtonPage::MMC &&
                            in.page != ButtonPage::Other;
    if (usesNumber)
    {
        block.GetAt(kNumber) = byte(in.number);
    }
    if (in.page == ButtonPage::CCCycle || in.page == ButtonPage::ProgramCycle)
    {
        EncodeCycle(in, block);
    }
    else if (in.page != ButtonPage::MMC)
    {
        block.GetAt(kLow) = byte(in.low);
        const bool usesHigh = in.page != ButtonPage::Other;
        block.GetAt(kHigh) = usesHigh ? byte(in.high) : 0;
    }
    return block;
}

std::optional<ButtonValueBytes> ReadButtonValue(const Variant& value)
{
    std::uint32_t size = 0;
    const void* data = value.GetType() == Variant::TagBytes ? value.GetData(size) : nullptr;
    ButtonValueBytes bytes{};
    if (data == nullptr || size != bytes.size())
    {
        return std::nullopt;
    }
    std::memcpy(bytes.data(), data, bytes.size());
    return bytes;
}

Variant MakeButtonValue(const ButtonValueBytes& bytes)
{
    Variant value;
    static_cast<void>(value.SetBytes(bytes.data(), static_cast<std::uint32_t>(bytes.size())));
    return value;
}

ButtonAssignmentBlock SplitButtonBlock(const ButtonValueBytes& bytes)
{
    ButtonAssignmentBlock block(kButtonBlockSize);
    block.GetAt(0) = static_cast<signed char>(bytes[0]);
    for (std::int32_t k = 1; k < kButtonBlockSize; ++k)
    {
        block.GetAt(k) = static_cast<signed char>(bytes[static_cast<std::size_t>(k + 4)]);
    }
    return block;
}

bool JoinButtonBlock(ButtonValueBytes& bytes, const ButtonAssignmentBlock& block)
{
    if (block.GetCount() != kButtonBlockSize)
    {
        return false;
    }
    bytes[0] = static_cast<std::uint8_t>(block.GetAt(0));
    for (std::int32_t k = 1; k < kButtonBlockSize; ++k)
    {
        bytes[static_cast<std::size_t>(k + 4)] = static_cast<std::uint8_t>(block.GetAt(k));
    }
    return true;
}

std::int32_t ListIndexFromByte(std::uint8_t byte, std::int32_t count)
{
    return byte < count ? byte : -1;
}

std::uint8_t ByteFromListIndex(std::int32_t index, std::int32_t count, std::uint8_t stored)
{
    return index >= 0 && index < count ? static_cast<std::uint8_t>(index) : stored;
}

std::int32_t KeyIndexFromByte(std::uint8_t byte)
{
    if (byte == kNoKeyByte)
    {
        return 0;
    }
    return byte < kKeyListCount - 1 ? byte + 1 : -1;
}

std::uint8_t KeyByteFromIndex(std::int32_t index, std::uint8_t stored)
{
    if (index == 0)
    {
        return kNoKeyByte;
    }
    return index > 0 && index < kKeyListCount ? static_cast<std::uint8_t>(index - 1) : stored;
}

} // namespace QZ
