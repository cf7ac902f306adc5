#include "console/calculator.h"

namespace shiftlog {

// The calculator is not built yet: opening it does nothing and the key wait goes on.
void Calculator(Console&) {}

}  // namespace shiftlog
