// One element's tile in a control family of the device drawing (see FamilyGroupPanel.h): the
// module of the element's parameter. Placed by its group, it numbers itself on its labels; every
// value of the family's size for its own parameter is shown in its summary child, by default an
// IAssignmentView given the bytes the layout's toView picks. User-interface thread only.
#pragma once

#include "UI/TarnSeriesCommon/AssignmentView.h"
#include "UI/TarnSeriesCommon/ControlUtilities.h"
#include "UI/TarnSeriesCommon/FamilyLayout.h"
#include "UI/TarnSeriesCommon/HandlingPanel.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace QZ
{

template <class Element>
class LFamilyPanel : public LHandlingPanel<LFamilyPanel<Element>>, public Element
{
public:
    LFamilyPanel(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived,
                 const FamilyLayout& layout)
        : LHandlingPanel<LFamilyPanel>(parent, name, mostDerived), Element(1), mLayout(layout)
    {
    }

    // Finds the summary and the labels; a missing one throws the runtime error "Null Pointer"
    // with the layout's detail.
    QZRESULT Initialize() override
    {
        const QZRESULT result = LPanel::Initialize();
        if (Failed(result))
        {
            return result;
        }
        this->MakeHandler(this);
        const std::string method = std::string(mLayout.viewClass) + "::Initialize";
        const RCPtr<LControl> self(this);
        mView =
            RequireChild<LControl>(self, {mLayout.viewName}, method.c_str(), mLayout.missingView);
        mLabels.clear();
        for (const FamilyLabel& label : mLayout.viewLabels)
        {
            mLabels.push_back(
                RequireChild<LControl>(self, {label.name}, method.c_str(), label.missing));
        }
        return result;
    }

    QZRESULT ReleaseInternalReferences() override
    {
        mView = nullptr;
        mLabels.clear();
        return LHandlingPanel<LFamilyPanel>::ReleaseInternalReferences();
    }

    void SetFirstParamID(LParameterizedModule* parent, std::int32_t firstParamID,
                         std::uint32_t index) override
    {
        LParameterizedModule::SetFirstParamID(parent, firstParamID, index);
        for (std::size_t k = 0; k < mLabels.size(); ++k)
        {
            WriteFamilyLabel(*mLabels[k], mLayout, mLayout.viewLabels[k], index);
        }
    }

    // E_FAIL for another parameter or a value of another size; else shows it and answers 0.
    std::int32_t SetParamValueLocal(const ParamDescriptor& descriptor, const Variant& value,
                                    bool) override
    {
        const std::optional<Array<signed char>> bytes = ValueBytes(value, mLayout.value.valueSize);
        if (descriptor.mParamID != this->mFirstParamID || !bytes)
        {
            return E_FAIL;
        }
        ShowValue(*bytes);
        return 0;
    }

protected:
    // Shows a value of the family's size in the summary.
    virtual void ShowValue(const Array<signed char>& value)
    {
        auto* view = dynamic_cast<IAssignmentView*>(mView.Get());
        const std::optional<Array<signed char>> shown = ToViewBytes(value);
        if (view != nullptr && shown)
        {
            view->SetParamValues(*shown);
        }
    }

    // The summary's bytes of a value, by the layout's conversion.
    [[nodiscard]] std::optional<Array<signed char>>
    ToViewBytes(const Array<signed char>& value) const
    {
        return Rearrange(value, mLayout.value.toView);
    }
    [[nodiscard]] const RCPtr<LControl>& GetView() const { return mView; }

    const FamilyLayout& mLayout;

private:
    RCPtr<LControl> mView;
    std::vector<RCPtr<LControl>> mLabels;
};

} // namespace QZ
