// A re-entrant lock embedded by value in the object it guards: the owning thread may lock it again
// while it holds it, as the delivery and release paths of the notification system do.
#pragma once

#include <mutex>

namespace QZ
{

class Mutex
{
public:
    Mutex() = default;
    Mutex(const Mutex&) = delete;
    Mutex& operator=(const Mutex&) = delete;
    virtual ~Mutex() = default;

    void Lock() { mMutex.lock(); }
    void Unlock() { mMutex.unlock(); }

    // Holds the lock for its own lifetime, also when an exception passes.
    class ScopedLock
    {
    public:
        explicit ScopedLock(Mutex& mutex) : mMutex(mutex) { mMutex.Lock(); }
        ScopedLock(const ScopedLock&) = delete;
        ScopedLock& operator=(const ScopedLock&) = delete;
        ~ScopedLock() { mMutex.Unlock(); }

    private:
        Mutex& mMutex;
    };

    // Holds the mutex when there is one; owners built without locking pass null.
    class OptionalLock
    {
    public:
        explicit OptionalLock(Mutex* mutex) : mMutex(mutex)
        {
            if (mMutex != nullptr)
            {
                mMutex->Lock();
            }
        }
        OptionalLock(const OptionalLock&) = delete;
        OptionalLock& operator=(const OptionalLock&) = delete;
        ~OptionalLock()
        {
            if (mMutex != nullptr)
            {
                mMutex->Unlock();
            }
        }

    private:
        Mutex* mMutex;
    };

private:
    std::recursive_mutex mMutex;
};

} // namespace QZ
