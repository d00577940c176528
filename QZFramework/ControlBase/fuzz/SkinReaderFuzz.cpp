// Feeds arbitrary bytes to the skin reader: a refused document leaves no skin and says why, an
// accepted one holds only finite layout numbers within the reader's bounds, and every top-level
// control of every skin can be built into a tree, laid out in a window with finite, non-negative
// rectangles, hit-tested, re-skinned and released again.
#include "QZFramework/Application/ApplicationBase.h"
#include "QZFramework/ControlBase/ControlFactory.h"
#include "QZFramework/ControlBase/RootWindow.h"
#include "QZFramework/ControlBase/SkinReader.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>

namespace
{

void Check(bool condition)
{
    if (!condition)
    {
        __builtin_trap();
    }
}

void CheckLayout(const QZ::LLayoutDescriptor& layout)
{
    for (int axis = 0; axis < 2; ++axis)
    {
        for (const double number :
             {layout.position[axis].absolute, double(layout.position[axis].relative),
              double(layout.position[axis].anchor), layout.size[axis].absolute,
              double(layout.size[axis].relative), layout.minimum[axis].absolute,
              layout.maximum[axis].absolute})
        {
            Check(std::isfinite(number) && std::fabs(number) <= 1.0e6);
        }
    }
}

void Register(QZ::LControlFactory& factory, const QZ::LControlDescriptor& descriptor)
{
    CheckLayout(*descriptor.layout);
    factory.RegisterControlClass(descriptor.className, &QZ::LControlFactory::Create<QZ::LControl>);
    for (const QZ::RCPtr<QZ::LControlDescriptor>& sub : descriptor.subControls)
    {
        Register(factory, *sub);
    }
}

void CheckPlaced(const QZ::LControl& control)
{
    const QZ::PointT<double> position = control.GetPosition();
    const QZ::PointT<double> size = control.GetSize();
    Check(std::isfinite(position.x) && std::isfinite(position.y) && std::isfinite(size.x) &&
          std::isfinite(size.y) && size.x >= 0.0 && size.y >= 0.0);
    for (std::uint32_t i = 0; i < control.GetChildren().GetCount(); ++i)
    {
        CheckPlaced(*control.GetChildren().GetAt(i, QZ::LControl::kStorageOrder));
    }
}

// The tree in a window: placed, hit at a few points, given every skin again, and detached.
void Exercise(QZ::LControlFactory& factory, const QZ::RCPtr<QZ::LControl>& control)
{
    QZ::RCPtr<QZ::LRootWindow> window(new QZ::LRootWindow());
    window->SetClientScreenRect({0, 0, 640, 480});
    window->SetRootControl(control);
    CheckPlaced(*control);
    for (const std::int32_t at : {0, 5, 100, 479})
    {
        QZ::RCPtr<QZ::LControl> found;
        QZ::PointT<long> local;
        window->HitTest(found, at, at, local, 1);
    }
    const std::int32_t current = factory.GetCurrentSkinIndex();
    for (std::int32_t index = 0; index < factory.GetSkinCount(); ++index)
    {
        factory.SetCurrentSkinIndex(index);
        factory.ApplySkinTo(control);
        CheckPlaced(*control);
    }
    factory.SetCurrentSkinIndex(current);
    window->SetRootControl(QZ::RCPtr<QZ::LControl>());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static auto* application = new QZ::LApplicationBase();
    std::vector<QZ::RCPtr<QZ::LSkin>> skins;
    QZ::LSkinReader reader("fuzz.xml");
    if (reader.Read(std::span<const std::uint8_t>(data, size), skins) != QZ::S_OK)
    {
        Check(skins.empty() && reader.GetError().starts_with("fuzz.xml:"));
        return 0;
    }
    QZ::RCPtr<QZ::LControlFactory> factory(
        new QZ::LControlFactory(QZ::WideString(u"Fuzz"), QZ::WideString(u"Fuzz")));
    application->SetControlFactory(factory);
    if (factory->LoadSkinsFrom(std::span<const std::uint8_t>(data, size), "fuzz.xml") == QZ::S_OK)
    {
        for (const QZ::RCPtr<QZ::LSkin>& skin : skins)
        {
            for (const QZ::RCPtr<QZ::LControlDescriptor>& top : skin->subControls)
            {
                Register(*factory, *top);
            }
        }
        for (std::int32_t index = 0; index < factory->GetSkinCount(); ++index)
        {
            factory->SetCurrentSkinIndex(index);
            for (const QZ::RCPtr<QZ::LControlDescriptor>& top :
                 factory->GetSkin(index)->subControls)
            {
                QZ::RCPtr<QZ::LControl> control;
                factory->CreateRootControl(control, top->name);
                if (control)
                {
                    Exercise(*factory, control);
                }
            }
        }
    }
    application->SetControlFactory(QZ::RCPtr<QZ::LControlFactory>());
    return 0;
}
