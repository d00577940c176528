// Builds parts of the application's own skin, with its string tables, for the panel tests: the
// framework classes as themselves, the tab controls as tab controls, the classes a test names as
// its panels and every other class as a plain panel.
#pragma once

#include "QZFramework/Application/Application.h"
#include "QZFramework/ControlBase/ControlFactory.h"
#include "QZFramework/Notification/NotificationClient.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace QZ
{

[[nodiscard]] inline std::string Narrow(const WideString& text)
{
    return text.ToNarrowString().GetString();
}

// Counts the notifications of the identifiers it subscribed to.
class CountingClient : public LNotificationClient
{
public:
    void ReceiveNotification(const RCPtr<LNotificationDistributor>&,
                             const RCPtr<LNotification>&) override
    {
        ++count;
    }
    std::int32_t count = 0;
};

class ShippedSkinFixture : public ::testing::Test
{
protected:
    ShippedSkinFixture();
    ~ShippedSkinFixture() override;

    void Register(const char16_t* className, LControlFactory::CreateFunction create);
    template <class Control> void Register(const char16_t* className)
    {
        Register(className, &LControlFactory::Create<Control>);
    }
    // Builds the control at the "/"-separated skin path (from a top-level control) under a host
    // that has no child of its name; fails the test when the path or the creation fails.
    RCPtr<LControl> Build(const std::u16string& path);
    // The top-level control of that name, without parent (a root).
    RCPtr<LControl> BuildRoot(const std::u16string& name);
    // Builds the path with the child of that name removed from the descriptor at the parent path
    // (put back afterwards): the text of the runtime error the creation threw, or "" when none.
    std::string BuildWithout(const std::u16string& path, const std::u16string& parent,
                             const std::u16string& removed);
    // The current skin's descriptor at the path; null when there is none.
    RCPtr<LControlDescriptor> FindDescriptor(const std::u16string& path) const;
    // The descendant along the path of direct children, as T (null when missing).
    template <class T> static RCPtr<T> At(const RCPtr<LControl>& from, const std::u16string& path)
    {
        return RCPtr<T>::DynamicCastFrom(Descend(from, path));
    }
    static RCPtr<LControl> Descend(const RCPtr<LControl>& from, const std::u16string& path);
    // The text of the descendant along the path; "<missing>" when there is none.
    static std::string Text(const RCPtr<LControl>& from, const std::u16string& path)
    {
        const RCPtr<LControl> control = Descend(from, path);
        return control ? Narrow(control->GetText()) : "<missing>";
    }

    LApplication mApplication;
    RCPtr<LControlFactory> mFactory{
        new LControlFactory(WideString(u"Tarn 61 Vidida Editor"), WideString(u"RededoVuvuva"))};
    RCPtr<LControl> mHost{new LControl(RCPtr<LControl>(), WideString(u"host"), true)};

private:
    // Earlier hosts: a control built again under a name the host holds gets a new host, so that
    // both stay attached.
    std::vector<RCPtr<LControl>> mFormerHosts;
    void RegisterDefaults(const LControlDescriptor& descriptor);
    std::map<std::u16string, LControlFactory::CreateFunction> mPanels;
};

} // namespace QZ
