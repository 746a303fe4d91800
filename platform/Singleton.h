#pragma once
// At most one instance of each central class lives at a time. A second one is a
// programming error, reported through fatal().
#include "platform/Log.h"

template <typename T>
class Singleton {
public:
    Singleton(const Singleton&) = delete;
    Singleton& operator=(const Singleton&) = delete;

    // The live instance, or null when there is none.
    static T* instance() { return instance_; }

protected:
    Singleton() {
        if (instance_ != nullptr)
            fatal(u"Singleton is already instantiated", u"Singleton::Singleton()");
        instance_ = static_cast<T*>(this);
    }
    ~Singleton() { instance_ = nullptr; }

private:
    static inline T* instance_ = nullptr;
};
