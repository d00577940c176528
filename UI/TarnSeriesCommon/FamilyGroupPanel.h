// The panels of a control family of the device drawing, and how a family plugs into them.
//
// Every family (encoders, faders, wheels, pads, keybed zones, ...) is drawn by three kinds of
// panel, each also a module of the editor's own device tree, so the engine's values reach them
// through the ordinary module protocol:
// - the group panel (LFamilyGroupPanel, this file), the family's container module: it holds the
//   tiles in a fixed order (index = element within the family), finds the family's edit panel
//   under the device view, selects an element when its tile's "button" is clicked and clears the
//   highlight when the edit panel is hidden;
// - one tile per element (LFamilyPanel, FamilyPanel.h), the module of that element's parameter:
//   it numbers itself and shows every value it accepts in its summary child;
// - one edit panel (LFamilyEditPanel, FamilyEditPanel.h), bound to the selected element: it reads
//   the engine's value of the element as it binds, shows it in the shared editor and passes it up
//   to the tile, and sends every user change of the editor as one whole value to the main control.
//
// Routing: the group places its tiles while its own SetFirstParamID runs; once that walk is over
// the group is bound, and from then on the edit panel answers for the element it is bound to, so
// an engine value for the selected element fills the editor first and reaches its tile through
// the group's SetParamValue. The bound state is explicit, set when the walk ends, never counted.
//
// A family plugs in with one FamilyLayout (FamilyLayout.h: tile paths, banks, control type, skin
// names, error texts, labels and the value's conversion) and three thin classes:
//   class LEncoderGroupPanel
//       : public LFamilyGroupPanel<IEncoders, IEncoder, LEncoderPanel, LEncoderEditPanel>
//   { ... RCPtr<IEncoder> GetEncoder(std::uint32_t k) override { return GetElementModule(k); } };
//   class LEncoderPanel : public LFamilyPanel<IEncoder> { ... };
//   class LEncoderEditPanel : public LFamilyEditPanel<IEncoder> { ... };
// each constructed with the family's layout. A family that differs overrides the hooks:
// SelectElement (what a click does), the tile's ShowValue (a summary that is no IAssignmentView),
// the edit panel's FindEditors / FillEditors / ReadEditors (editors that are not one
// IAssignmentEditor, more than one of them, or other controls) and SetLabelText; any panel may
// listen to more of its children through Listen (HandlingPanel.h), a tile to its own "button"
// (a Shift-click, say) as well as the group does.
//
// Skin errors (a missing edit panel, bank, tile, button, summary, editor or label) make
// Initialize throw: "Runtime Error : Null Pointer : <the layout's detail>", or the failed-result
// exception for a missing tile or button. Edit panels are shown only through the device view
// (ShowEditPanelOf). User-interface thread only.
#pragma once

#include "QZFramework/Notification/NotificationIDs.h"
#include "UI/TarnSeriesCommon/ControlUtilities.h"
#include "UI/TarnSeriesCommon/FamilyLayout.h"
#include "UI/TarnSeriesCommon/HandlingPanel.h"

#include <cstdint>
#include <string>
#include <vector>

namespace QZ
{

template <class Container, class Element, class ElementPanel, class EditPanel>
class LFamilyGroupPanel
    : public LHandlingPanel<LFamilyGroupPanel<Container, Element, ElementPanel, EditPanel>>,
      public Container
{
public:
    LFamilyGroupPanel(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived,
                      const FamilyLayout& layout)
        : LHandlingPanel<LFamilyGroupPanel>(parent, name, mostDerived), mLayout(layout)
    {
    }

    QZRESULT Initialize() override
    {
        const QZRESULT result = LPanel::Initialize();
        if (Failed(result))
        {
            return result;
        }
        this->MakeHandler(this);
        const std::string method = std::string(mLayout.groupClass) + "::Initialize";
        mEditPanel =
            RCPtr<EditPanel>::DynamicCastFrom(FindDeviceViewChild(*this, mLayout.editPanelName));
        if (!mEditPanel && mLayout.missingEditPanel != nullptr)
        {
            QZ_THROW_RUNTIME(method, "Null Pointer", mLayout.missingEditPanel);
        }
        this->Listen(RCPtr<LControl>(mEditPanel.Get()), NID_VISIBLITY_CONDITION_CHANGE,
                     &LFamilyGroupPanel::OnEditPanelVisibilityChanged, method);
        FindTiles(method);
        bool complete = true;
        for (std::size_t i = 0; i < mTiles.size(); ++i)
        {
            complete = complete && mTiles[i];
            if (mTiles[i])
            {
                this->Listen(GetClickable(i), NID_LEFT_CLICK, &LFamilyGroupPanel::OnElementClicked,
                             method);
            }
        }
        if (!complete)
        {
            QZ_THROW_FAILED_RESULT(E_FAIL, method);
        }
        return result;
    }

    QZRESULT ReleaseInternalReferences() override
    {
        mTiles.clear();
        mEditPanel = nullptr;
        return LHandlingPanel<LFamilyGroupPanel>::ReleaseInternalReferences();
    }

    // Places the group and, through the container's walk, its tiles; the group is bound once the
    // walk is over.
    void SetFirstParamID(LParameterizedModule* parent, std::int32_t firstParamID,
                         std::uint32_t index) override
    {
        mBound = false;
        Container::SetFirstParamID(parent, firstParamID, index);
        mBound = true;
    }

    // A value the edit panel passes up reaches the tile of the element it is bound to. 0.
    std::int32_t SetParamValue(const ParamDescriptor& descriptor, const Variant& value) override
    {
        for (const RCPtr<ElementPanel>& tile : mTiles)
        {
            if (tile && IsEdited(*tile))
            {
                static_cast<void>(tile->SetParamValueLocal(descriptor, value, false));
            }
        }
        return 0;
    }

    // The tiles in element order; an entry is empty only while Initialize is failing.
    [[nodiscard]] const std::vector<RCPtr<ElementPanel>>& GetElementPanels() const
    {
        return mTiles;
    }
    [[nodiscard]] const RCPtr<EditPanel>& GetEditPanel() const { return mEditPanel; }
    [[nodiscard]] bool IsBound() const { return mBound; }

protected:
    // The module answering for element k: its tile while the group is being placed, afterwards
    // the edit panel for the element the edit panel is bound to. Null past the elements.
    [[nodiscard]] RCPtr<Element> GetElementModule(std::uint32_t index)
    {
        if (index >= mTiles.size() || !mTiles[index])
        {
            return nullptr;
        }
        if (mBound && IsEdited(*mTiles[index]))
        {
            return RCPtr<Element>(mEditPanel.Get());
        }
        return RCPtr<Element>(mTiles[index].Get());
    }

    // A click on element `index`: its tile lights, the others go dark, then the device view shows
    // the edit panel and the edit panel is bound to the element (in the layout's order).
    virtual void SelectElement(std::uint32_t index)
    {
        for (std::size_t i = 0; i < mTiles.size(); ++i)
        {
            if (const RCPtr<LControl> clickable = GetClickable(i))
            {
                clickable->SetValue(i == index ? 1.0 : 0.0);
            }
        }
        if (!mLayout.bindBeforeShow)
        {
            ShowEditPanelOf(*this, mLayout.controlType, static_cast<std::int32_t>(index));
        }
        mEditPanel->SetFirstParamID(this, mTiles[index]->GetFirstParamID(), index);
        if (mLayout.bindBeforeShow)
        {
            ShowEditPanelOf(*this, mLayout.controlType, static_cast<std::int32_t>(index));
        }
    }

    // The tile's "button", null without one.
    [[nodiscard]] RCPtr<LControl> GetClickable(std::size_t index) const
    {
        return mTiles[index] ? mTiles[index]->FindChildByName(WideString(u"button")) : nullptr;
    }

    const FamilyLayout& mLayout;

private:
    // The tiles along the layout's paths; a missing bank is a skin error, a missing tile an empty
    // entry.
    void FindTiles(const std::string& method)
    {
        mTiles.clear();
        for (const FamilyElementPath& path : mLayout.elements)
        {
            RCPtr<LControl> holder(this);
            if (!path.bank.empty())
            {
                holder = this->FindChildByName(WideString(path.bank.c_str()));
                if (!holder)
                {
                    const WideString bank(path.bank.c_str());
                    QZ_THROW_RUNTIME(method, "Null Pointer",
                                     "can not find child " +
                                         std::string(bank.ToNarrowString().GetString()));
                }
            }
            mTiles.push_back(RCPtr<ElementPanel>::DynamicCastFrom(
                holder->FindChildByName(WideString(path.name.c_str()))));
        }
    }

    [[nodiscard]] bool IsEdited(const ElementPanel& tile) const
    {
        return mEditPanel &&
               mEditPanel->LParameterizedModule::GetParent() ==
                   static_cast<const LParameterizedModule*>(this) &&
               mEditPanel->GetFirstParamID() == tile.GetFirstParamID();
    }

    QZRESULT OnElementClicked(const RCPtr<LNotificationDistributor>& sender,
                              const RCPtr<LNotification>&)
    {
        for (std::size_t i = 0; i < mTiles.size(); ++i)
        {
            const RCPtr<LControl> clickable = GetClickable(i);
            if (clickable &&
                sender.Get() == static_cast<LNotificationDistributor*>(clickable.Get()))
            {
                SelectElement(static_cast<std::uint32_t>(i));
                break;
            }
        }
        return 1;
    }

    QZRESULT OnEditPanelVisibilityChanged(const RCPtr<LNotificationDistributor>&,
                                          const RCPtr<LNotification>&)
    {
        if (mEditPanel->IsShowing(false))
        {
            return 1;
        }
        for (std::size_t i = 0; i < mTiles.size(); ++i)
        {
            if (const RCPtr<LControl> clickable = GetClickable(i))
            {
                clickable->SetValue(0.0);
            }
        }
        return 1;
    }

    std::vector<RCPtr<ElementPanel>> mTiles;
    RCPtr<EditPanel> mEditPanel;
    bool mBound = false;
};

} // namespace QZ
