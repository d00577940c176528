// A manual-reset event read as a light: red (not signalled) stops waiters, green lets every
// waiter pass and stays green until it is set red. Created red.
#pragma once

#include "QZFramework/System/Event.h"

namespace QZ
{

class TrafficLight : public Event
{
public:
    TrafficLight() : Event(false) {}

    void SetGreen() { Set(); }
    void SetRed() { Reset(); }
};

} // namespace QZ
