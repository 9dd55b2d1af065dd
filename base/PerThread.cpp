#include "base/PerThread.h"

#include <algorithm>
#include <vector>

namespace lbb {

namespace {

struct TRegistry {
  std::mutex lock;
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
  TRegistry& r = Registry();
  std::lock_guard guard(r.lock);
  r.all.erase(std::remove(r.all.begin(), r.all.end(), this), r.all.end());
}

void TPerThreadBase::ForgetThisThread() {
  std::vector<TPerThreadBase*> all;
  {
    TRegistry& r = Registry();
    std::lock_guard guard(r.lock);
    all = r.all;
  }
  for (TPerThreadBase* each : all)
    each->ForgetMine();
}

}  // namespace lbb
