// Recursive mutex and its scoped lock.
#pragma once

#include <mutex>

class CMN_Mutex {
public:
    void Lock() { mMutex.lock(); }
    void Unlock() { mMutex.unlock(); }
    bool TryLock() { return mMutex.try_lock(); }

private:
    std::recursive_mutex mMutex;
};

// Holds a mutex for its scope; a null mutex is allowed and locks nothing.
class CMN_MutexLock {
public:
    explicit CMN_MutexLock(CMN_Mutex* mutex) : mMutex(mutex) {
        if (mMutex) mMutex->Lock();
    }
    explicit CMN_MutexLock(CMN_Mutex& mutex) : CMN_MutexLock(&mutex) {}
    ~CMN_MutexLock() {
        if (mMutex) mMutex->Unlock();
    }
    CMN_MutexLock(const CMN_MutexLock&) = delete;
    CMN_MutexLock& operator=(const CMN_MutexLock&) = delete;

private:
    CMN_Mutex* mMutex;
};
