#include "skin/forms/FormManager.h"

#include <atomic>

namespace lbb::skin {

namespace {
std::atomic<TFormManagerSeam*> gFormManager{nullptr};
}  // namespace

TFormManagerSeam* FormManager() {
  return gFormManager;
}

void SetFormManager(TFormManagerSeam* manager) {
  gFormManager = manager;
}

}  // namespace lbb::skin
