#include "base/PerThread.h"

#include <algorithm>
#include <vector>

namespace lbb {

namespace {

struct TRegistry {
  // Recursive: a per-thread object being freed may make or free another table.
  std::recursive_mutex lock;
  std::vector<TPerThreadBase*> all;
};

// Never freed: a TPerThread destroyed at the process's end still finds it.
TRegistry& Registry() {
  static TRegistry* registry = new TRegistry;
  return *registry;
}

}  // namespace

TPerThreadBase::TPerThreadBase() {
  TRegistry& r = Registry();
  std::lock_guard guard(r.lock);
  r.all.push_back(this);
}

TPerThreadBase::~TPerThreadBase() {
  Unregister();
}

void TPerThreadBase::Unregister() {
  TRegistry& r = Registry();
  std::lock_guard guard(r.lock);
  r.all.erase(std::remove(r.all.begin(), r.all.end(), this), r.all.end());
}

void TPerThreadBase::ForgetThisThread() {
  // Under the lock: a table cannot go while its objects are forgotten.
  TRegistry& r = Registry();
  std::lock_guard guard(r.lock);
  for (size_t i = 0; i < r.all.size(); ++i)
    r.all[i]->ForgetMine();
}

}  // namespace lbb
