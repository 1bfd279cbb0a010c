#pragma once
// Loads the analysis can stand on: none negative, none beyond single
// precision, and area 1's within the whole system's, which includes it.

#include <string>

#include "model/loads.hpp"

namespace adequacy {

// What is wrong with the first hour that breaks the rule, as "day D hour H:
// ..."; empty when every hour keeps it.
std::string loadFault(const HourlyLoads& loads);

}  // namespace adequacy
