#include "cli/TablesReport.h"

#include "cli/JsonWriter.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <iomanip>
#include <ostream>
#include <sstream>
#include <utility>

namespace rovex::cli {
namespace {

void writeRow(JsonWriter& json, const ObjPort& row)
{
    json.beginObject();
    json.member("name", row.portName);
    json.member("count", row.portCount);
    json.member("image", row.portImage);
    json.endObject();
}

void writeRow(JsonWriter& json, const ObjIp& row)
{
    json.beginObject();
    json.member("name", row.ipName);
    json.member("count", row.ipCount);
    json.member("country", row.ipImage);
    json.member("nation", row.nationName);
    json.endObject();
}

template <typename Row>
void writeTable(JsonWriter& json, const RowList<Row>& rows, const std::vector<std::size_t>& ranked)
{
    json.beginArray();
    for (const std::size_t position : ranked)
        writeRow(json, rows[position]);
    json.endArray();
}

// An object under name with one member per table, in table order, written by writeOne.
template <typename WriteOne>
void writePerTable(JsonWriter& json, std::string_view name, const WriteOne& writeOne)
{
    json.key(name);
    json.beginObject();
    for (const TrafficCategory category : allTrafficCategories) {
        json.key(suffix(category));
        writeOne(category);
    }
    json.endObject();
}

void writeTables(JsonWriter& json, const TrafficStore& store)
{
    writePerTable(json, "tables", [&](TrafficCategory category) {
        const auto ranked = store.rankedByCount(category);
        if (isPortTable(category))
            writeTable(json, store.portRows(category), ranked);
        else
            writeTable(json, store.ipRows(category), ranked);
    });
}

void writeOccurrences(JsonWriter& json, const TrafficStore& store)
{
    writePerTable(json, "occurrences", [&](TrafficCategory category) {
        json.beginObject();
        bool open = false;
        store.forEachOccurrence(
            category,
            [&](std::string_view key) {
                if (std::exchange(open, true))
                    json.endObject();
                json.key(key);
                json.beginObject();
            },
            [&](std::string_view name, std::int64_t count) { json.member(name, count); });
        if (open)
            json.endObject();
        json.endObject();
    });
}

void writeNotifications(JsonWriter& json, const NotificationList& notifications)
{
    json.key("notifications");
    json.beginArray();
    for (const ServiceNotification& notification : notifications.kept()) {
        json.beginObject();
        json.member("title", notification.title);
        json.member("subtitle", notification.subtitle);
        json.member("informativeText", notification.informativeText);
        json.member("image", notification.image);
        json.endObject();
    }
    json.endArray();
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
void printRows(std::ostream& out, const RowList<Row>& rows, const std::vector<std::size_t>& ranked, std::size_t limit)
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

void writeTablesJson(std::ostream& out, const TrafficStore& store, const NotificationList& notifications,
                     bool withCount)
{
    JsonWriter json(out);
    json.beginObject();
    writeTables(json, store);
    writeOccurrences(json, store);
    writeNotifications(json, notifications);
    if (withCount)
        json.member("notificationCount", static_cast<std::int64_t>(notifications.count()));
    json.endObject();
}

void printTables(std::ostream& out, const TrafficStore& store, const NotificationList& notifications,
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
    const auto& kept = notifications.kept();
    out << "Notifications (" << notifications.count() << ")\n";
    const std::size_t shown = std::min(options.notifications, kept.size());
    for (std::size_t i = kept.size() - shown; i < kept.size(); ++i) {
        const ServiceNotification& n = kept[i];
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
