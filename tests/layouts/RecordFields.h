#pragma once

#include "layouts/FirewallRecord.h"

#include <gtest/gtest.h>

namespace rovex::test {

// Expects the record to hold the fields an expectation (any struct with the record's field
// names, written out by hand in the tests) gives for its line.
template <typename Expectation>
void expectRecordFields(const FirewallRecord& r, const Expectation& e)
{
    EXPECT_EQ(r.month, e.month);
    EXPECT_EQ(r.day, e.day);
    EXPECT_EQ(r.time, e.time);
    EXPECT_EQ(r.action, e.action);
    EXPECT_EQ(r.direction, e.direction);
    EXPECT_EQ(r.interfaceName, e.interfaceName);
    EXPECT_EQ(r.sourceAddress, e.sourceAddress);
    EXPECT_EQ(r.sourcePort, e.sourcePort);
    EXPECT_EQ(r.destinationAddress, e.destinationAddress);
    EXPECT_EQ(r.destinationPort, e.destinationPort);
}

} // namespace rovex::test
