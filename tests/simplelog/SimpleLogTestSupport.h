#pragma once

#include "simplelog/RXSimpleLog.h"

#include <random>
#include <string>
#include <string_view>
#include <vector>

// What the simple log's tests share: whole rows and random logs. (Real files come from
// the simulator tests' TempRoot and writeFile.)
namespace rovex::test {

// The sixteen fields of a row in their order, so that rows compare whole.
std::vector<std::string> rowFields(const RXSimpleLog& row);

// The text cut at every "\n": N pieces, the last one empty when the text ends with "\n".
std::vector<std::string> piecesOf(std::string_view text);

// A log of up to 40 lines the way the firewall writes them, mixed with what a log can
// hold besides: blank lines, lines of spaces, runs of spaces anywhere, endpoints without
// ports or of two kinds, excluded sources, bytes that are not UTF-8, and (with longLines)
// lines of 20 to 70 KiB. It ends with "\n" or not.
std::string randomLog(std::mt19937& random, bool longLines);

} // namespace rovex::test
