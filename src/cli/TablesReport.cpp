#include "cli/TablesReport.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <iomanip>
#include <ostream>
#include <sstream>

namespace rovex::cli {
namespace {

using Json = nlohmann::ordered_json;

Json rowJson(const ObjPort& row)
{
    return Json{{"name", row.portName}, {"count", row.portCount}, {"image", row.portImage}};
}

Json rowJson(const ObjIp& row)
{
    return Json{{"name", row.ipName}, {"count", row.ipCount}, {"country", row.ipImage}, {"nation", row.nationName}};
}

template <typename Row>
Json tableJson(const std::vector<Row>& rows, const std::vector<std::size_t>& ranked)
{
    Json table = Json::array();
    for (const std::size_t position : ranked)
        table.push_back(rowJson(rows[position]));
    return table;
}

Json occurrencesJson(const TrafficStore& store, TrafficCategory category)
{
    Json dictionary = Json::object();
    for (const std::string_view key : store.occurrenceKeys(category)) {
        Json counterparts = Json::object();
        for (const auto& [name, count] : store.occurrences(category, key))
            counterparts[std::string(name)] = count;
        dictionary[std::string(key)] = std::move(counterparts);
    }
    return dictionary;
}

std::string timeOfDay(TimePoint when)
{
    const std::time_t seconds = Clock::to_time_t(when);
    std::tm local{};
    localtime_r(&seconds, &local);
    std::ostringstream text;
    text << std::put_time(&local, "%F %T");
    return text.str();
}

void printDetails(std::ostream& out, const ObjPort& row) { out << row.portImage; }

void printDetails(std::ostream& out, const ObjIp& row)
{
    out << (row.ipImage.empty() ? "-" : row.ipImage) << ' ' << row.nationName;
}

template <typename Row>
void printRows(std::ostream& out, const std::vector<Row>& rows, const std::vector<std::size_t>& ranked,
               std::size_t limit)
{
    int width = 4;
    for (const Row& row : rows)
        width = std::max(width, static_cast<int>(rowName(row).size()));
    const std::size_t shown = std::min(limit, ranked.size());
    for (std::size_t i = 0; i < shown; ++i) {
        const Row& row = rows[ranked[i]];
        out << "  " << std::setw(9) << rowCount(row) << "  " << std::left << std::setw(width) << rowName(row)
            << std::right << "  " << timeOfDay(rowDate(row)) << "  ";
        printDetails(out, row);
        out << '\n';
    }
    if (shown < ranked.size())
        out << "  ... " << ranked.size() - shown << " more\n";
}

} // namespace

nlohmann::ordered_json tablesJson(const TrafficStore& store, const std::vector<ServiceNotification>& notifications)
{
    Json tables = Json::object();
    Json occurrences = Json::object();
    for (const TrafficCategory category : allTrafficCategories) {
        const std::string name(suffix(category));
        const auto ranked = store.rankedByCount(category);
        tables[name] = isPortTable(category) ? tableJson(store.portRows(category), ranked)
                                             : tableJson(store.ipRows(category), ranked);
        occurrences[name] = occurrencesJson(store, category);
    }
    Json notified = Json::array();
    for (const ServiceNotification& notification : notifications) {
        notified.push_back(Json{{"title", notification.title},
                                {"subtitle", notification.subtitle},
                                {"informativeText", notification.informativeText},
                                {"image", notification.image}});
    }
    return Json{{"tables", std::move(tables)}, {"occurrences", std::move(occurrences)}, {"notifications", std::move(notified)}};
}

void printTables(std::ostream& out, const TrafficStore& store, const std::vector<ServiceNotification>& notifications,
                 const TextOptions& options)
{
    for (const TrafficCategory category : allTrafficCategories) {
        const auto ranked = store.rankedByCount(category);
        out << suffix(category) << " (" << ranked.size() << (ranked.size() == 1 ? " row)\n" : " rows)\n");
        if (isPortTable(category))
            printRows(out, store.portRows(category), ranked, options.rowsPerTable);
        else
            printRows(out, store.ipRows(category), ranked, options.rowsPerTable);
    }
    out << "Notifications (" << notifications.size() << ")\n";
    const std::size_t shown = std::min(options.notifications, notifications.size());
    for (std::size_t i = notifications.size() - shown; i < notifications.size(); ++i) {
        const ServiceNotification& n = notifications[i];
        out << "  " << n.title << ": " << n.subtitle << " -" << n.informativeText << '\n';
    }
}

void printLineSummary(std::ostream& out, const LiveClassifier::OutcomeCounts& outcomes, std::uint64_t invalidLines)
{
    out << "Lines: " << outcomes[static_cast<std::size_t>(LineOutcome::Read)] << " read";
    for (const LineOutcome skipped : {LineOutcome::TooFewFields, LineOutcome::ExcludedSource, LineOutcome::IgnoredPort,
                                      LineOutcome::IgnoredAddress}) {
        out << ", " << outcomes[static_cast<std::size_t>(skipped)] << ' ' << describe(skipped);
    }
    out << ", " << invalidLines << " not UTF-8\n";
}

} // namespace rovex::cli
