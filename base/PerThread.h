// One object per thread, made on the thread's first use and kept in a process-wide table
// rather than in a thread_local variable.
//
// Why not thread_local: with the emulated thread-local storage of mingw-w64, the destructor of
// a thread_local object may run after the thread's thread-local block has been freed, and its
// writes then land in freed memory (a program whose second user-interface thread ended had its
// heap corrupted and hung in the next allocation). Here nothing runs by itself as a thread
// ends: ForgetThisThread frees the calling thread's objects of every TPerThread (a DLL calls it
// as each thread leaves). Objects of threads that ended without it are freed with their
// TPerThread; a thread that reuses an ended thread's id finds its object, which holds only
// what any thread may use.
#pragma once

#include <memory>
#include <mutex>
#include <thread>
#include <unordered_map>

namespace lbb {

class TPerThreadBase {
 public:
  // Frees the calling thread's object of every TPerThread.
  static void ForgetThisThread();

 protected:
  TPerThreadBase();
  ~TPerThreadBase();
  // Out of the table that ForgetThisThread goes through (the derived destructor calls it before
  // its objects go, so that no thread forgets into a half-destroyed table); once is enough.
  void Unregister();
  TPerThreadBase(const TPerThreadBase&) = delete;
  TPerThreadBase& operator=(const TPerThreadBase&) = delete;

  virtual void ForgetMine() = 0;
};

template <class T>
class TPerThread final : public TPerThreadBase {
 public:
  TPerThread() = default;
  ~TPerThread() { Unregister(); }

  // The calling thread's object, made on its first use; it stays where it is until the thread
  // forgets it (a reference may be kept meanwhile).
  T& Mine() {
    std::lock_guard guard(lock_);
    std::unique_ptr<T>& slot = objects_[std::this_thread::get_id()];
    if (!slot) slot = std::make_unique<T>();
    return *slot;
  }

 protected:
  void ForgetMine() override {
    std::unique_ptr<T> mine;  // freed outside the lock: its destructor may take others
    {
      std::lock_guard guard(lock_);
      auto it = objects_.find(std::this_thread::get_id());
      if (it == objects_.end()) return;
      mine = std::move(it->second);
      objects_.erase(it);
    }
  }

 private:
  std::mutex lock_;
  std::unordered_map<std::thread::id, std::unique_ptr<T>> objects_;
};

}  // namespace lbb
