// shiftlog: the time clock the cash-register program starts for each punch.
#include <cstdio>

int main() {
  std::puts("shiftlog: the time clock has started.");
  return 0;
}
