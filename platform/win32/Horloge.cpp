#include "platform/win32/Horloge.h"

#include <windows.h>

namespace plat {

double Millisecondes() {
  static const double frequence = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) * 1000.0 / frequence;
}

}  // namespace plat
