// IModuleListT: the shared body of the list container interfaces (keybed zones, wheels, pads,
// push buttons, faders, encoders, touch-pad axes). A list container holds the ChildCount leaves
// of one control type, child k owning identifier mFirstParamID + k; it reaches its children only
// through GetChildAt, so the model's containers and the editor's panels share these bodies.
#pragma once

#include "DeviceControl/GeneratedCode/Engine/Inc/ParamLayout.h"
#include "DeviceControl/GeneratedCode/Engine/Inc/ParameterizedModule.h"

#include <cstdint>

template <class Child, ControlType Type> class IModuleListT : public LParameterizedModule
{
public:
    static constexpr std::uint32_t ChildCount = GetControlTypeLayout(Type).count;

    using LParameterizedModule::GetModule;

    // Stores the three values, then places child k with (this, firstParamID + k, k), skipping
    // missing children.
    void SetFirstParamID(LParameterizedModule* parent, std::int32_t firstParamID,
                         std::uint32_t index) override
    {
        LParameterizedModule::SetFirstParamID(parent, firstParamID, index);
        for (std::uint32_t k = 0; k < ChildCount; ++k)
        {
            if (QZ::RCPtr<Child> child = GetChildAt(k))
            {
                const auto childID = static_cast<std::uint32_t>(firstParamID) + k;
                child->SetFirstParamID(this, static_cast<std::int32_t>(childID), k);
            }
        }
    }

    // The answer of child k = paramID - mFirstParamID (unsigned, so an identifier below the range
    // misses too), or null when k is past the children or the child is missing.
    [[nodiscard]] QZ::RCPtr<LParameterizedModule> GetModule(std::int32_t paramID) override
    {
        const std::uint32_t k =
            static_cast<std::uint32_t>(paramID) - static_cast<std::uint32_t>(mFirstParamID);
        if (k >= ChildCount)
        {
            return nullptr;
        }
        QZ::RCPtr<Child> child = GetChildAt(k);
        return child ? child->GetModule(paramID) : nullptr;
    }

    void PropagateEventA() override
    {
        for (std::uint32_t k = 0; k < ChildCount; ++k)
        {
            if (QZ::RCPtr<Child> child = GetChildAt(k))
            {
                child->PropagateEventA();
            }
        }
    }

    void PropagateEventB() override
    {
        for (std::uint32_t k = 0; k < ChildCount; ++k)
        {
            if (QZ::RCPtr<Child> child = GetChildAt(k))
            {
                child->PropagateEventB();
            }
        }
    }

protected:
    using LParameterizedModule::LParameterizedModule;

    // Child index (below ChildCount), or null when it is missing.
    [[nodiscard]] virtual QZ::RCPtr<Child> GetChildAt(std::uint32_t index) = 0;
};
