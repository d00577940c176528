// The main control as far as a family's panels need it: the root of the drawing and of its device
// tree over the real engine. The test lists the modules the root asks for an identifier; values
// the panels send are recorded and handed to the engine, and the engine's posted values are handed
// to the module that answers for them, as the main control does. MainControlFixture builds the
// shipped "mainControl" with it, over a started engine.
#pragma once

#include "DeviceControl/GeneratedCode/Engine/Inc/IRootModule.h"
#include "Engine/RededoVuvuvaCommon/RootModuleEngine.h"
#include "Engine/RededoVuvuvaCommon/tests/EngineHarness.h"
#include "QZFramework/Controls/Panel.h"
#include "QZFramework/Notification/NotificationCenterManager.h"
#include "QZFramework/Notification/NotificationIDs.h"
#include "UI/TarnSeriesCommon/tests/ShippedSkinFixture.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

namespace QZ
{

class StandInMainControl : public LPanel, public IRootModule
{
public:
    StandInMainControl(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived)
        : LPanel(parent, name, mostDerived), IRootModule(false)
    {
    }

    void ReportParamChange(const ParamDescriptor&, const Variant&) override {}
    RCPtr<LDeviceCommunicationInterface> GetDeviceCommunicationInterface() override
    {
        return nullptr;
    }
    RCPtr<IDevice> GetDevice() override { return nullptr; }
    RCPtr<LParameterizedModule> GetModule(std::int32_t paramID) override
    {
        for (const RCPtr<LParameterizedModule>& module : modules)
        {
            if (RCPtr<LParameterizedModule> owner = module ? module->GetModule(paramID) : nullptr)
            {
                return owner;
            }
        }
        return nullptr;
    }
    std::int32_t SendParamValue(const ParamDescriptor& descriptor, const Variant& value) override
    {
        sent.push_back(ParamValue(descriptor, value));
        return GetRootModuleEngine()->SetParamValue(descriptor, value);
    }
    void Deliver(const ParamValue& state)
    {
        if (const RCPtr<LParameterizedModule> module = GetModule(state.mDescriptor.mParamID))
        {
            module->SetParamValueLocal(state.mDescriptor, state.mValue, true);
        }
    }

    // Asked in order for the module of an identifier; the first answer counts.
    std::vector<RCPtr<LParameterizedModule>> modules;
    std::vector<ParamValue> sent;
};

class MainControlFixture : public ShippedSkinFixture
{
protected:
    // Starts the engine; the test registers its classes, then calls BuildMain.
    void SetUp() override
    {
        LNotification::EnablePooling(true);
        ASSERT_NE(mStates->Subscribe(GetApplicationNotificationCenter(),
                                     NID_PARAM_MODULE_STATE_CHANGE, 0),
                  nullptr);
        mApplication.CreateRootModuleEngine();
        ASSERT_TRUE(GetRootModuleEngine());
        Register(u"RededoVuvuva.MainControl", &LControlFactory::Create<StandInMainControl>);
    }
    void TearDown() override
    {
        if (mMain)
        {
            mMain->modules.clear();
        }
        mMain = nullptr;
        mHost = nullptr;
        mApplication.ReleaseRootModuleEngine();
        static_cast<void>(mStates->UnsubscribeAll());
        LNotification::EnablePooling(false);
    }
    // The shipped main control, laid out as the root window lays it out.
    void BuildMain()
    {
        mMain = RCPtr<StandInMainControl>::DynamicCastFrom(BuildRoot(u"mainControl"));
        ASSERT_TRUE(mMain);
        mMain->SetRect(RectT<double>(0.0, 0.0, 1200.0, 750.0));
        mMain->UpdateConditions();
    }
    template <class T> RCPtr<T> InMain(const std::u16string& path) const
    {
        return At<T>(RCPtr<LControl>(mMain.Get()), path);
    }
    // The engine's posted values, once at least `expected` arrived, handed on; the states.
    std::vector<ParamValue> DeliverPosted(std::size_t expected)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        std::vector<ParamValue> states;
        while (states.size() < expected && std::chrono::steady_clock::now() < deadline)
        {
            static_cast<void>(GetApplicationNotificationCenter()->ProcessQueue(false));
            states =
                EngineTestSupport::StatesOf(mStates->GetDelivered(NID_PARAM_MODULE_STATE_CHANGE));
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        EXPECT_GE(states.size(), expected);
        mStates->Clear();
        for (const ParamValue& state : states)
        {
            mMain->Deliver(state);
        }
        return states;
    }

    RCPtr<EngineTestSupport::NotificationRecorder> mStates{
        new EngineTestSupport::NotificationRecorder()};
    RCPtr<StandInMainControl> mMain;
};

} // namespace QZ
