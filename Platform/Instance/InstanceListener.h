// The first instance's side of the hand-over (see SingleInstance.h): a listening Unix-domain
// socket served by one thread, which queues each received command line.
#pragma once

#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace QZ
{

class InstanceListener
{
public:
    InstanceListener() = default;
    // Stops the thread and removes the socket file.
    ~InstanceListener();
    InstanceListener(const InstanceListener&) = delete;
    InstanceListener& operator=(const InstanceListener&) = delete;

    // Replaces any file at path by the listening socket and starts serving; false when the
    // socket cannot be made (the reason is logged).
    bool Start(const std::string& path, std::function<void()> wake);
    [[nodiscard]] std::vector<std::string> TakeCommandLines();

private:
    void Serve();
    void ServeConnection(int connection);

    std::string mPath;
    int mSocket = -1;
    int mStop = -1;
    std::function<void()> mWake;
    std::thread mThread;
    std::mutex mLock;
    std::vector<std::string> mReceived;
};

} // namespace QZ
