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
    static T* instance() { return static_cast<T*>(instance_); }

protected:
    Singleton() {
        if (instance_ != nullptr)
            fatal(u"Singleton is already instantiated", u"Singleton::Singleton()");
        // Kept as the base: the derived object does not exist yet while this
        // constructor runs, so it is cast only when asked for.
        instance_ = this;
    }
    ~Singleton() { instance_ = nullptr; }

private:
    static inline Singleton* instance_ = nullptr;
};
