// The edit panel of a control family (see FamilyGroupPanel.h): while bound to an element it is the
// module of that element's parameter. Binding labels it and fills it with the engine's value of
// the element at once; a value of the family's size fills the editors without anything being sent
// and is passed up to the group, which gives it to the element's tile; every user change the
// editors report sends the whole value once to the main control. By default the editor is one
// IAssignmentEditor child (the layout's editorName) exchanging the bytes the layout's conversion
// names; a family with other editors overrides FindEditors, FillEditors and ReadEditors.
// User-interface thread only.
#pragma once

#include "QZFramework/Notification/NotificationIDs.h"
#include "UI/TarnSeriesCommon/AssignmentEditor.h"
#include "UI/TarnSeriesCommon/ControlUtilities.h"
#include "UI/TarnSeriesCommon/FamilyLayout.h"
#include "UI/TarnSeriesCommon/HandlingPanel.h"
#include "UI/TarnSeriesCommon/QuietScope.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace QZ
{

template <class Element>
class LFamilyEditPanel : public LHandlingPanel<LFamilyEditPanel<Element>>, public Element
{
public:
    LFamilyEditPanel(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived,
                     const FamilyLayout& layout)
        : LHandlingPanel<LFamilyEditPanel>(parent, name, mostDerived), Element(1), mLayout(layout)
    {
    }

    // Finds the editors and the labels; a missing one throws the runtime error "Null Pointer"
    // with the layout's detail.
    QZRESULT Initialize() override
    {
        const QZRESULT result = LPanel::Initialize();
        if (Failed(result))
        {
            return result;
        }
        this->MakeHandler(this);
        const std::string method = GetInitializeMethod();
        FindEditors();
        mLabels.clear();
        for (const FamilyLabel& label : mLayout.editLabels)
        {
            mLabels.push_back(RequireChild<LControl>(RCPtr<LControl>(this), {label.name},
                                                     method.c_str(), label.missing));
        }
        return result;
    }

    QZRESULT ReleaseInternalReferences() override
    {
        mEditorControl = nullptr;
        mLabels.clear();
        return LHandlingPanel<LFamilyEditPanel>::ReleaseInternalReferences();
    }

    // Binds the panel to an element: labels it and fills the editors with its value in the same
    // step; until they hold it, no change of theirs is sent.
    void SetFirstParamID(LParameterizedModule* parent, std::int32_t firstParamID,
                         std::uint32_t index) override
    {
        mHoldsBoundValue = false;
        LParameterizedModule::SetFirstParamID(parent, firstParamID, index);
        SetLabelText(index);
        static_cast<void>(ShowEngineValue(*this));
    }

    // E_FAIL for another parameter or a value of another size; else fills the editors, passes
    // the value up and answers 0.
    std::int32_t SetParamValueLocal(const ParamDescriptor& descriptor, const Variant& value,
                                    bool) override
    {
        const std::optional<Array<signed char>> bytes = ValueBytes(value, mLayout.value.valueSize);
        if (descriptor.mParamID != this->mFirstParamID || !bytes || !IsBoundToElement())
        {
            return E_FAIL;
        }
        {
            const QuietScope quiet(mFilling);
            FillEditors(*bytes);
        }
        mHoldsBoundValue = true;
        static_cast<void>(this->SetParamValue(descriptor, value));
        return 0;
    }

    // Shows element `index` on the layout's labels; an index past the family changes nothing.
    virtual void SetLabelText(std::uint32_t index)
    {
        if (!mLayout.elements.empty() && index >= mLayout.elements.size())
        {
            return;
        }
        for (std::size_t k = 0; k < mLabels.size(); ++k)
        {
            WriteFamilyLabel(*mLabels[k], mLayout, mLayout.editLabels[k], index);
        }
    }

protected:
    // Finds the editors and listens to their changes (ListenForEdits); by default the one
    // IAssignmentEditor child named by the layout.
    virtual void FindEditors()
    {
        mEditorControl =
            RequireChild<LControl>(RCPtr<LControl>(this), {mLayout.editorName},
                                   GetInitializeMethod().c_str(), mLayout.missingEditor);
        mEditor = dynamic_cast<IAssignmentEditor*>(mEditorControl.Get());
        if (mEditor == nullptr)
        {
            QZ_THROW_RUNTIME(GetInitializeMethod(), "Null Pointer", mLayout.missingEditor);
        }
        ListenForEdits(mEditorControl, NID_PARAMETERS_CHANGED);
    }

    // Shows a value of the family's size in the editors; what the editors report meanwhile is
    // not sent.
    virtual void FillEditors(const Array<signed char>& value)
    {
        if (const std::optional<Array<signed char>> bytes = ToEditorBytes(value))
        {
            static_cast<void>(mEditor->SetParamValues(*bytes));
        }
    }

    // The value the editors hold, or nothing when they hold no whole value.
    [[nodiscard]] virtual std::optional<Array<signed char>> ReadEditors()
    {
        return FromEditorBytes(mEditor->GetParamValues());
    }

    // The editor's bytes of a value, by the layout's conversion.
    [[nodiscard]] std::optional<Array<signed char>>
    ToEditorBytes(const Array<signed char>& value) const
    {
        return Rearrange(value, mLayout.value.toEditor);
    }
    // The value of the editor's bytes; nothing unless they number the layout's editorSize.
    [[nodiscard]] std::optional<Array<signed char>>
    FromEditorBytes(const Array<signed char>& bytes) const
    {
        if (static_cast<std::uint32_t>(bytes.GetCount()) != mLayout.value.editorSize)
        {
            return std::nullopt;
        }
        return Rearrange(bytes, mLayout.value.fromEditor);
    }

    // Sends the editors' value when the source reports `identifier`.
    void ListenForEdits(const RCPtr<LControl>& source, const char16_t* identifier)
    {
        this->Listen(source, identifier, &LFamilyEditPanel::OnParametersChanged,
                     GetInitializeMethod());
    }

    [[nodiscard]] std::string GetInitializeMethod() const
    {
        return std::string(mLayout.editClass) + "::Initialize";
    }
    // True once a group has bound the panel to an element.
    [[nodiscard]] bool IsBoundToElement() const
    {
        return this->LParameterizedModule::GetParent() != nullptr;
    }
    [[nodiscard]] const RCPtr<LControl>& GetEditorControl() const { return mEditorControl; }

    const FamilyLayout& mLayout;

private:
    // The user changed an editor: the whole value goes to the main control, unless the panel is
    // filling its editors or its editors do not hold the bound element's value yet.
    QZRESULT OnParametersChanged(const RCPtr<LNotificationDistributor>&,
                                 const RCPtr<LNotification>&)
    {
        if (mFilling || !mHoldsBoundValue || !IsBoundToElement())
        {
            return 1;
        }
        if (const std::optional<Array<signed char>> bytes = ReadEditors())
        {
            static_cast<void>(
                SendToMainControl(*this, ParamDescriptor(this->mFirstParamID), MakeValue(*bytes)));
        }
        return 1;
    }

    RCPtr<LControl> mEditorControl;
    IAssignmentEditor* mEditor = nullptr;
    std::vector<RCPtr<LControl>> mLabels;
    bool mFilling = false;
    bool mHoldsBoundValue = false;
};

} // namespace QZ
