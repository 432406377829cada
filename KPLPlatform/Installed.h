// Process-wide installation of the platform services.
//
// Each service (settings hive, prompt, process launcher, locale and clock,
// abort) has one current implementation that the host chooses at start-up;
// tests install doubles with ScopedInstall for the length of a test.
#pragma once

#include <memory>
#include <mutex>
#include <utility>

namespace kpl::platform {

// Holds the current implementation of service T; DefaultFactory makes the
// one used when nobody installed another.
template <typename T>
class Installed {
 public:
  // The current implementation, created from the default on first use.
  static std::shared_ptr<T> Get() {
    std::lock_guard lock(Mutex());
    auto& slot = Slot();
    if (!slot) slot = T::MakeDefault();
    return slot;
  }
  // Installs `next` (null restores the default) and returns the previous one.
  static std::shared_ptr<T> Install(std::shared_ptr<T> next) {
    std::lock_guard lock(Mutex());
    auto& slot = Slot();
    std::swap(slot, next);
    return next;
  }

 private:
  static std::shared_ptr<T>& Slot() {
    static std::shared_ptr<T> slot;
    return slot;
  }
  static std::mutex& Mutex() {
    static std::mutex mutex;
    return mutex;
  }
};

// Installs an implementation for the life of the object, then puts the
// previous one back.
template <typename T>
class ScopedInstall {
 public:
  explicit ScopedInstall(std::shared_ptr<T> impl) : previous_(Installed<T>::Install(std::move(impl))) {}
  ~ScopedInstall() { Installed<T>::Install(std::move(previous_)); }
  ScopedInstall(const ScopedInstall&) = delete;
  ScopedInstall& operator=(const ScopedInstall&) = delete;

 private:
  std::shared_ptr<T> previous_;
};

}  // namespace kpl::platform
