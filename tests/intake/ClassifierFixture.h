#pragma once

#include "intake/LiveClassifier.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include <string>
#include <vector>

namespace rovex::testing {

// A store, a watch and a classifier wired as the program wires them, with the
// notifications collected.
class ClassifierFixture : public ::testing::Test {
protected:
    static std::string line(const std::string& action, const std::string& direction, const std::string& source,
                            const std::string& destination)
    {
        return "Dec  4 10:15:01 mymac pf: 00:00:00.606036 rule 1/0(match): " + action + " " + direction
            + " on en0: " + source + " > " + destination + ": Flags [S], seq 1, win 1024, length 0";
    }

    void feed(const std::string& text, TimePoint now = TimePoint{} + std::chrono::seconds(100))
    {
        classifier.parseLog(text, now);
    }

    std::vector<std::pair<std::string, std::int64_t>> occurrences(TrafficCategory category, std::string_view name)
    {
        std::vector<std::pair<std::string, std::int64_t>> result;
        for (const auto& [counterpart, count] : store.occurrences(category, name))
            result.emplace_back(counterpart, count);
        return result;
    }

    TrafficStore store;
    ServiceWatch watch;
    std::vector<ServiceNotification> notifications;
    LiveClassifier classifier{
        store, watch, [this](const ServiceNotification& notification) { notifications.push_back(notification); }};
};

} // namespace rovex::testing
