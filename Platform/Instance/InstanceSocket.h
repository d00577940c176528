// Small helpers shared by both sides of the hand-over.
#pragma once

#include <chrono>
#include <string>

#include <sys/un.h>

namespace QZ::InstanceSocket
{

using Clock = std::chrono::steady_clock;

// The socket address of path; false when the path does not fit.
[[nodiscard]] bool MakeAddress(const std::string& path, sockaddr_un& address);
// Waits until the descriptor is ready for events (POLLIN or POLLOUT) or the deadline passes.
[[nodiscard]] bool WaitUntil(int descriptor, short events, Clock::time_point deadline);
// Closes the descriptor when it is open and marks it closed.
void Close(int& descriptor);

} // namespace QZ::InstanceSocket
