// The control factory: the registry of control classes by skin class name, the skins and the
// string tables, and the creation of controls from skin descriptors.
//
// Sources: a path that begins with "::" names an embedded resource of type "QZXML" (the rest of
// the path is its name); any other path is a file, taken relative to the base folder unless it is
// absolute. A broken source never takes the program down: loading fails with a text naming the
// source, the line and the cause (GetLastError, also written to the debug stream).
//
// String tables are found by ID. A control's own table is "<parent's skin class>|<name>"; a
// control without a parent uses "<application ID>|<name>" when there is one, else the
// application's table "|<application ID>". The framework's table is "Framework".
//
// Creation runs a control's phases (ApplyDescriptor, CreateChildren, Initialize, PostInitialize)
// and marks it created. A control whose Initialize fails, or whose phases throw, is detached from
// its parent and released; the failure (or the exception) reaches the caller and no control is
// handed out. The factory lives on the user-interface thread.
#pragma once

#include "QZFramework/ControlBase/Control.h"
#include "QZFramework/ControlBase/ControlDescriptor.h"
#include "QZFramework/ControlBase/Skin.h"
#include "QZFramework/ControlBase/StringTable.h"
#include "QZFramework/ControlBase/StringTableReader.h"
#include "QZFramework/ObjectBase/ConstRCPtr.h"
#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/ObjectBase/RefCountedObject.h"
#include "QZFramework/Utilities/Storage/StringT.h"

#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace QZ
{

class LControlFactory : public virtual LRefCountedObject
{
public:
    // Builds one control of a class under the parent from the descriptor into out; the result of
    // the creation (out empty on failure).
    using CreateFunction = QZRESULT (*)(RCPtr<LControl>& out, const RCPtr<LControl>& parent,
                                        const ConstRCPtr<LControlDescriptor>& descriptor);

    // The framework's string table's ID.
    static constexpr const char16_t* kFrameworkTableID = u"Framework";

    // applicationID names the application's string tables ("|<ID>" and "<ID>|<control>").
    LControlFactory(const WideString& productName, const WideString& applicationID);

    // "::" for the embedded resources, else a folder that relative file paths are taken in.
    void SetBaseFolder(const WideString& folder) { mBaseFolder = folder; }
    [[nodiscard]] const WideString& GetBaseFolder() const { return mBaseFolder; }

    // Reads the framework source, then the application source, choosing texts for the locale;
    // tables of the same ID merge, the later strings replacing earlier ones. 0, or E_FAIL when a
    // source cannot be read or parsed (the tables stay as they were).
    [[nodiscard]] QZRESULT LoadStringTables(const WideString& applicationPath,
                                            const WideString& frameworkPath, std::uint32_t locale);
    // Reads the skins and makes the first the current one, its images decoding on other threads
    // from then on. 0, or E_FAIL when the source cannot be read or parsed or holds no skin (the
    // skins stay as they were).
    [[nodiscard]] QZRESULT LoadSkins(const WideString& path);
    // The same from bytes in memory; sourceName names them in messages.
    [[nodiscard]] QZRESULT LoadStringTablesFrom(std::span<const std::uint8_t> bytes,
                                                const std::string& sourceName,
                                                std::uint32_t locale);
    [[nodiscard]] QZRESULT LoadSkinsFrom(std::span<const std::uint8_t> bytes,
                                         const std::string& sourceName);
    // A skin document read but not yet the factory's: its skins, or why it could not be read,
    // and the images whose decoding the read started.
    struct SkinDocument
    {
        std::vector<RCPtr<LSkin>> skins;
        std::string error;
        std::vector<WideString> images;
    };
    // LoadSkins in two steps: ReadSkins changes nothing in the factory, so that another thread
    // may read the skins while this one reads the string tables (the images of the first skin
    // start decoding as their parts are read); UseSkins then makes them the factory's.
    [[nodiscard]] SkinDocument ReadSkins(const WideString& path) const;
    [[nodiscard]] QZRESULT UseSkins(SkinDocument document);
    // The text of the last failed load; empty after a successful one.
    [[nodiscard]] const std::string& GetLastError() const { return mLastError; }

    // Enters the class, replacing the function of a class registered before. 0.
    QZRESULT RegisterControlClass(const WideString& className, CreateFunction create);

    // Creates the control of the descriptor's class under the parent. S_FALSE with out empty for
    // a class nobody registered (a warning on the debug stream); otherwise the creation's result.
    QZRESULT CreateControl(RCPtr<LControl>& out, const ConstRCPtr<LControlDescriptor>& descriptor,
                           const RCPtr<LControl>& parent);
    // The same for the current skin's top-level sub-control of that name, without parent;
    // E_FAIL when the skin has none.
    QZRESULT CreateRootControl(RCPtr<LControl>& out, const WideString& name);
    // The current skin's top-level sub-control of that name, searching from the last; a null
    // pointer when there is none.
    [[nodiscard]] const RCPtr<LControlDescriptor>& FindSkinSubControl(const WideString& name) const;
    // Applies the current skin's descriptor of the control's name to the control; E_FAIL when
    // the control or the descriptor is missing.
    QZRESULT ApplySkinTo(const RCPtr<LControl>& control);

    [[nodiscard]] std::int32_t GetSkinCount() const
    {
        return static_cast<std::int32_t>(mSkins.size());
    }
    [[nodiscard]] RCPtr<LSkin> GetSkin(std::int32_t index) const;
    [[nodiscard]] std::int32_t GetCurrentSkinIndex() const { return mCurrentSkin; }
    // The index is limited to the skins there are (a stored index may be stale).
    void SetCurrentSkinIndex(std::int32_t index);
    // Overrides the face when the current skin names one, the size when the skin's is at least
    // 1 and the style unless the skin's is -1; true when nothing was overridden.
    bool GetSkinFont(WideString& face, float& size, std::int32_t& style) const;

    // The table for the controls under the parent (or without parent) named so; null when absent.
    RCPtr<LStringTable>& GetStringTableFor(RCPtr<LStringTable>& out, const LControl* parent,
                                           const WideString& name) const;
    RCPtr<LStringTable>& GetAppStringTable(RCPtr<LStringTable>& out) const;
    RCPtr<LStringTable>& GetFrameworkStringTable(RCPtr<LStringTable>& out) const;
    [[nodiscard]] RCPtr<LStringTable> FindStringTable(const WideString& id) const;
    [[nodiscard]] RCPtr<LStringTable> FindStringTable(std::u16string_view id) const;

    [[nodiscard]] const WideString& GetProductName() const { return mProductName; }

    // The creator that every control class registers: constructs a T and runs the phases.
    template <class T>
    static QZRESULT Create(RCPtr<LControl>& out, const RCPtr<LControl>& parent,
                           const ConstRCPtr<LControlDescriptor>& descriptor)
    {
        out = RCPtr<LControl>(new T(parent, descriptor->name, true));
        return RunCreationPhases(out, descriptor);
    }
    // The phases after construction, with the rules on failure above.
    static QZRESULT RunCreationPhases(RCPtr<LControl>& out,
                                      const ConstRCPtr<LControlDescriptor>& descriptor);

private:
    [[nodiscard]] QZRESULT Fail(std::string message);
    // Has the images of the current skin's parts decoded ahead of the first paint.
    void PrepareSkinImages() const;
    [[nodiscard]] QZRESULT ReadStringTables(std::span<const std::uint8_t> bytes,
                                            const std::string& sourceName, std::uint32_t locale,
                                            LStringTableMap& tables);
    [[nodiscard]] WideString ResolvePath(const WideString& path) const;
    [[nodiscard]] static SkinDocument ReadSkinDocument(std::span<const std::uint8_t> bytes,
                                                       const std::string& sourceName);

    WideString mProductName;
    WideString mApplicationID;
    WideString mBaseFolder;
    std::string mLastError;
    std::map<std::u16string, CreateFunction, std::less<>> mClasses;
    LStringTableMap mStringTables;
    std::vector<RCPtr<LSkin>> mSkins;
    std::int32_t mCurrentSkin = 0;
};

} // namespace QZ
