#pragma once

#include <cstdint>
#include <ctime>
#include <string>

namespace rovex {

// The few ways the simulator prints numbers and clocks into its lines, without a stream.
void appendNumber(std::string& out, std::uint64_t value);
void appendTwoDigits(std::string& out, int value);
// The value with leading zeros to `width` digits, as in "000042" (a value too wide is cut).
void appendFixedDigits(std::string& out, std::uint64_t value, int width);
// "hh:mm:ss".
void appendClock(std::string& out, const std::tm& local);

} // namespace rovex
