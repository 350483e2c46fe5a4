#include "app/fault_detail.h"

namespace marlint {

void describeFault(Fault& fault, const RunState& run) {
  (void)run;
  fault.detail = fault.columnName + " \"" + fault.text + "\": " + fault.message;
}

}  // namespace marlint
