// Recursive mutex and its scoped lock.
#pragma once

#include <mutex>

class CMN_Mutex {
public:
    void Lock() { mutex_.lock(); }
    void Unlock() { mutex_.unlock(); }
    bool TryLock() { return mutex_.try_lock(); }

private:
    std::recursive_mutex mutex_;
};

// Holds a mutex for its scope; a null mutex is allowed and locks nothing.
class CMN_MutexLock {
public:
    explicit CMN_MutexLock(CMN_Mutex* mutex) : mutex_(mutex) {
        if (mutex_) mutex_->Lock();
    }
    explicit CMN_MutexLock(CMN_Mutex& mutex) : CMN_MutexLock(&mutex) {}
    ~CMN_MutexLock() {
        if (mutex_) mutex_->Unlock();
    }
    CMN_MutexLock(const CMN_MutexLock&) = delete;
    CMN_MutexLock& operator=(const CMN_MutexLock&) = delete;

private:
    CMN_Mutex* mutex_;
};
