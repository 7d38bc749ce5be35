// A clock for durations (Windows only).
#pragma once

namespace plat {

// Milliseconds from a fixed moment, to the performance counter's precision.
double Millisecondes();

}  // namespace plat
