#include "QZFramework/ControlBase/KeyParam.h"

#include "QZFramework/ControlBase/Control.h"

namespace QZ
{

LKeyParam::LKeyParam(const KeyCode& key, bool fromSource)
    : mKey(key.key), mSideModifiers(key.sideModifiers),
      mExtra(static_cast<std::uint8_t>(key.extra)), mFromSource(fromSource)
{
}

LKeyParam::~LKeyParam() = default;

RCPtr<LKeyParam> LKeyParam::Create(const KeyCode& key, bool fromSource)
{
    return RCPtr<LKeyParam>(new LKeyParam(key, fromSource));
}

} // namespace QZ
