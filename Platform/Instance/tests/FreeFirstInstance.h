// A running first instance for tests whose user-interface thread is always free: it takes every
// command line as soon as it is queued, so that every second start is answered.
#pragma once

#include "Platform/Instance/SingleInstance.h"

#include <mutex>
#include <string>
#include <utility>
#include <vector>

class FreeFirstInstance
{
public:
    FreeFirstInstance(std::string folder, std::string name)
        : mInstance(std::move(folder), std::move(name))
    {
    }

    // Claims the lock and listens; false when either fails.
    [[nodiscard]] bool Start()
    {
        return mInstance.Claim() == QZ::InstanceRole::First &&
               mInstance.Listen([this] { Take(); });
    }

    [[nodiscard]] std::string GetSocketPath() const { return mInstance.GetSocketPath(); }

    // The command lines taken since the last call, oldest first.
    [[nodiscard]] std::vector<std::string> TakeTaken()
    {
        const std::lock_guard<std::mutex> lock(mLock);
        return std::exchange(mTaken, {});
    }

private:
    // Under the lock while the texts are answered, so that a sender that has its answer finds
    // its text among the taken ones.
    void Take()
    {
        const std::lock_guard<std::mutex> lock(mLock);
        for (std::string& commandLine : mInstance.TakeCommandLines())
        {
            mTaken.push_back(std::move(commandLine));
        }
    }

    std::mutex mLock;
    std::vector<std::string> mTaken;
    // Last, so that its listener stops before the rest goes.
    QZ::SingleInstance mInstance;
};
