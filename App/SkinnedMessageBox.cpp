#include "App/SkinnedMessageBox.h"

#include "QZFramework/Application/ApplicationBase.h"
#include "QZFramework/ControlBase/Control.h"
#include "QZFramework/ControlBase/ControlFactory.h"
#include "QZFramework/ControlBase/RootWindow.h"
#include "QZFramework/Renderer/Renderer.h"

#include <string_view>

namespace
{

// The text broken into lines at blanks so that each line fits the width in the font (a word
// longer than the width keeps a line of its own); the text's own line breaks stay.
QZ::WideString WrapToWidth(const QZ::WideString& text, const QZ::LControl& label, float width)
{
    const QZ::LApplicationBase* application = QZ::LApplicationBase::GetApplication();
    const QZ::RCPtr<QZ::LRenderer> renderer =
        application != nullptr ? application->GetRenderer() : nullptr;
    if (!renderer || width <= 0.0f)
    {
        return text;
    }
    const auto fits = [&](const std::u16string& line)
    { return renderer->MeasureText(QZ::WideString(line.c_str()), label.GetFont()).width <= width; };
    std::u16string wrapped;
    std::u16string line;
    std::u16string word;
    const auto endWord = [&]
    {
        const std::u16string joined = line.empty() ? word : line + u" " + word;
        if (!line.empty() && !fits(joined))
        {
            wrapped += line + u"\n";
            line = word;
        }
        else
        {
            line = joined;
        }
        word.clear();
    };
    const std::u16string_view all(text.GetString(), static_cast<std::size_t>(text.GetLength()));
    for (const char16_t unit : all)
    {
        if (unit == u' ' || unit == u'\n')
        {
            endWord();
            if (unit == u'\n')
            {
                wrapped += line + u"\n";
                line.clear();
            }
        }
        else
        {
            word += unit;
        }
    }
    endWord();
    return QZ::WideString((wrapped + line).c_str());
}

QZ::WideString FromUtf8(const std::string& text)
{
    return QZ::WideString(text.c_str());
}

} // namespace

std::int32_t SkinnedMessageBox::Present(const std::string& text, const std::string& caption,
                                        std::uint32_t style)
{
    QZ::LApplicationBase* application = QZ::LApplicationBase::GetApplication();
    const QZ::RCPtr<QZ::LControlFactory> factory =
        application != nullptr ? application->GetControlFactory() : nullptr;
    QZ::RCPtr<QZ::LControl> box;
    if (factory && !application->GetRootWindows().empty() &&
        factory->FindSkinSubControl(QZ::WideString(u"messageBox")))
    {
        static_cast<void>(factory->CreateRootControl(box, QZ::WideString(u"messageBox")));
    }
    const QZ::RCPtr<QZ::LControl> label =
        box ? box->FindChildByName(QZ::WideString(u"text")) : nullptr;
    if (!label)
    {
        return QZ::Dialogs::GetDesktopMessageBoxPresenter().Present(text, caption, style);
    }
    box->SetText(FromUtf8(caption), false);
    const float width = static_cast<float>(label->GetLookClientRect(0).width);
    label->SetText(WrapToWidth(FromUtf8(text), *label, width), true);
    // The box has OK alone: however it is closed, OK is the answer.
    return application->RunModalControl(box, 1) >= 0 ? QZ::Dialogs::kResultOk
                                                     : QZ::Dialogs::kResultNone;
}
