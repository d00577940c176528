#include "QZFramework/ControlBase/SiblingKeyParam.h"

#include "QZFramework/ControlBase/Control.h"

namespace QZ
{

LSiblingKeyParam::LSiblingKeyParam(const KeyCode& key, const RCPtr<LControl>& passingControl)
    : mKey(key), mPassingControl(passingControl)
{
}

LSiblingKeyParam::~LSiblingKeyParam() = default;

RCPtr<LSiblingKeyParam> LSiblingKeyParam::Create(const KeyCode& key,
                                                 const RCPtr<LControl>& passingControl)
{
    return RCPtr<LSiblingKeyParam>(new LSiblingKeyParam(key, passingControl));
}

} // namespace QZ
