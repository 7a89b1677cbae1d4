#include "app/FormHost.h"

#include <cstdio>
#include <cstdlib>

namespace ostrel::app {

void FormHost::ExitProcess(int code) {
  std::fflush(nullptr);
  std::_Exit(code);
}

}  // namespace ostrel::app
