#include "app/Unit3.h"

namespace lbb::app {

void TDownPic::Execute() {
  if (work_) work_();
}

}  // namespace lbb::app
