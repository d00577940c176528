// LParameterizedModule: the node of the device model's tree.
//
// A preset's 131 parameters are owned by a tree of modules: a root, the device, containers per
// control type and one leaf per control. Every module owns a contiguous range of parameter
// identifiers starting at mFirstParamID; a leaf owns exactly one. Reads and writes enter at a
// leaf and are passed up the mParent chain to the root, which alone keeps values; nothing below
// the root looks inside a value. The tree is built once (Create, then SetFirstParamID from the
// top) before any value flows and is not changed afterwards, and modules have no locks: the
// root serialises value traffic.
//
// Identifiers below zero are no preset parameters: -256 to -129 are composite identifiers, which
// a leaf may translate into its own parameter; the others are commands and status values of the
// root and the device communication, which modules refuse.
#pragma once

#include "DeviceControl/GeneratedCode/Engine/Inc/ParamLayout.h"
#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/ObjectBase/RefCountedObject.h"
#include "QZFramework/Utilities/Storage/ParamDescriptor.h"
#include "QZFramework/Utilities/Storage/Variant.h"

#include <cstddef>
#include <cstdint>
#include <optional>

class LCompositeTranslator;

class LParameterizedModule : public virtual QZ::LRefCountedObject
{
public:
    LParameterizedModule(const LParameterizedModule&) = delete;
    LParameterizedModule& operator=(const LParameterizedModule&) = delete;
    ~LParameterizedModule() override;

    // Places the module: stores its parent (not owned), first identifier and list index.
    // Containers place their children too, and every L class then checks its offset from the
    // root, throwing "Invalid FirstParamID" when it is wrong (the values stay stored).
    virtual void SetFirstParamID(LParameterizedModule* parent, std::int32_t firstParamID,
                                 std::uint32_t index);
    // The module that answers for paramID, or null. Containers ask the child that covers the
    // identifier; a leaf (and this default) answers itself whatever the identifier.
    [[nodiscard]] virtual QZ::ConstRCPtr<LParameterizedModule>
    GetModule(std::int32_t paramID) const;
    [[nodiscard]] virtual QZ::RCPtr<LParameterizedModule> GetModule(std::int32_t paramID);

    // Writes one of the module's own parameters. This default throws a logic error in a module
    // that stores no parameter (mParamCount 0), returns -1 without a parent and otherwise
    // returns the parent's SetParamValue. Leaves check the identifier first.
    virtual std::int32_t SetParamValueLocal(const QZ::ParamDescriptor& descriptor,
                                            const QZ::Variant& value, bool fromDevice);
    // Reads one of the module's own parameters: throws in a module with mParamCount 0, gives an
    // empty value without a parent, else the parent's GetParamValue.
    [[nodiscard]] virtual QZ::Variant
    GetParamValueLocal(const QZ::ParamDescriptor& descriptor) const;
    // Passed to the parent; -1 (write) or an empty value (read) without one. The root keeps the
    // values.
    virtual std::int32_t SetParamValue(const QZ::ParamDescriptor& descriptor,
                                       const QZ::Variant& value);
    [[nodiscard]] virtual QZ::Variant GetParamValue(const QZ::ParamDescriptor& descriptor) const;
    // The default value of parameter paramID: a tag-8 byte string in a leaf, empty here.
    [[nodiscard]] virtual QZ::Variant GetParamValueDefault(std::int32_t paramID) const;

    // Events passed down the tree (containers to every child in order); nothing here.
    virtual void PropagateEventA();
    virtual void PropagateEventB();
    [[nodiscard]] virtual bool IsActive() const;
    // Both hand the four values to the parent's RelayToParentAlt; without a parent nothing
    // happens.
    virtual void RelayToParent(std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t d);
    virtual void RelayToParentAlt(std::uint32_t a, std::uint32_t b, std::uint32_t c,
                                  std::uint32_t d);
    // Passed to the parent; 0x80004005 (write) or an empty value (read) without one.
    virtual std::int32_t CommitParamValue(const QZ::ParamDescriptor& descriptor,
                                          const QZ::Variant& value);
    [[nodiscard]] virtual QZ::Variant ReadParamValue(const QZ::ParamDescriptor& descriptor) const;

    [[nodiscard]] LParameterizedModule* GetParent() const { return mParent; }
    [[nodiscard]] std::uint32_t GetParamCount() const { return mParamCount; }
    [[nodiscard]] std::int32_t GetFirstParamID() const { return mFirstParamID; }
    [[nodiscard]] std::uint32_t GetIndex() const { return mIndex; }
    // The top of the parent chain: this module when it has no parent.
    [[nodiscard]] LParameterizedModule* FindRoot();

protected:
    // paramCount: the parameters the module stores itself (1 in a leaf, 0 elsewhere).
    explicit LParameterizedModule(std::uint32_t paramCount = 0);

    // The offset checks of the L classes, on mFirstParamID minus the root's first identifier: a
    // leaf must lie within its control type's run, a container at the run's start.
    [[nodiscard]] bool IsPlacedWithinRunOf(ControlType type);
    [[nodiscard]] bool IsPlacedAtStartOf(ControlType type);
    // The write that every leaf makes (its own identifier passed up, a composite one forwarded to
    // the device when it comes from the user and then translated, any other refused with -1).
    // Returns the result, or nothing when a translation names another leaf's parameter, which
    // the calling leaf reports as its own logic error.
    [[nodiscard]] std::optional<std::int32_t>
    WriteLeafValue(const QZ::ParamDescriptor& descriptor, const QZ::Variant& value, bool fromDevice,
                   const LCompositeTranslator& translator);
    // A tag-8 byte string of the given bytes, the form of every default value.
    [[nodiscard]] static QZ::Variant MakeByteString(const std::uint8_t* bytes, std::size_t count);
    template <std::size_t N>
    [[nodiscard]] static QZ::Variant MakeByteString(const std::uint8_t (&bytes)[N])
    {
        return MakeByteString(bytes, N);
    }

    LParameterizedModule* mParent = nullptr;
    std::uint32_t mParamCount;
    std::int32_t mFirstParamID = 0;
    std::uint32_t mIndex = 0;

private:
    std::int64_t GetOffsetFromRoot();
};
