// Numbers as text, the same on every desktop: the C locale's printf conversions and the shortest
// round-trip text, never through the process locale (which may write decimal commas).
#pragma once

#include <string>

namespace tolvex {

// Appends x as printf("%*.*f", width, decimals, x) writes it in the C locale (decimals 0 to 100).
void append_fixed(std::string& out, double x, int decimals, int width = 0);

// x as printf("%*.*f", width, decimals, x) writes it in the C locale.
std::string fixed_text(double x, int decimals, int width = 0);

// n as printf("%*lld", width, n) writes it.
std::string integer_text(long long n, int width = 0);

// x as printf("%.*g", precision, x) writes it in the C locale.
std::string general_text(double x, int precision = 6);

// Appends the shortest text that reads back as exactly x.
void append_shortest(std::string& out, double x);

// The shortest text that reads back as exactly x.
std::string shortest_text(double x);

} // namespace tolvex
