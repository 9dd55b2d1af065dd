#include "app/Unit2.h"

namespace lbb::app {

void TDownContent::Execute() {
  if (work_) work_();
}

}  // namespace lbb::app
