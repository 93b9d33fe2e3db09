#include "lookup/CountryDatabase.h"
#include "lookup/RXMatchIP.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using rovex::CountryDatabase;
using rovex::CountryMatch;

namespace {

// A private folder for one test, removed with everything in it afterwards.
class TempFolder final {
public:
    TempFolder()
    {
        std::string pattern = (fs::temp_directory_path() / "rovex-lookup-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("mkdtemp failed");
        m_path = pattern;
    }
    ~TempFolder()
    {
        std::error_code ignored;
        fs::remove_all(m_path, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const fs::path& path() const { return m_path; }

    void write(const fs::path& relative, std::string_view text) const
    {
        const fs::path file = m_path / relative;
        fs::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << text;
    }

private:
    fs::path m_path;
};

std::string loadInto(CountryDatabase& database, const fs::path& folder)
{
    std::ostringstream diagnostics;
    database.load(folder, diagnostics);
    return diagnostics.str();
}

// Both ways of matching must agree; every check goes through this.
CountryMatch countryOf(const CountryDatabase& database, std::string_view address)
{
    const CountryMatch byIndex = database.countryOf(address);
    EXPECT_EQ(byIndex, database.countryOfByScan(address)) << address;
    return byIndex;
}

} // namespace

TEST(CountryDatabaseLoad, ReadsEachZoneFileAtAnyDepthUnderItsCode)
{
    TempFolder folder;
    // A line that is not UTF-8 matches nothing, but costs the country no other block.
    folder.write("it-aggregated.zone", "2.32.0.0/11\n11.0.0.0 \xff/8\n5.8.0.0/16\n");
    folder.write("de-aggregated.zone", "2.160.0.0/12");
    folder.write("fr.zone", "2.0.0.0/12\n");
    folder.write("es-aggregated.zone.bak", "2.136.0.0/13\n");
    folder.write("nested/deeper/fr-aggregated.zone", "90.0.0.0/9\n");
    // Listed entries that are not regular files: a folder and a dangling link.
    folder.write("x-aggregated.zone/nl-aggregated.zone", "145.0.0.0/8\n");
    fs::create_symlink(folder.path() / "missing", folder.path() / "pt-aggregated.zone");

    CountryDatabase database;
    EXPECT_EQ(loadInto(database, folder.path()),
              "READING ROVEX COUNTRY DATABASE\n"
              "nation aggregated file not found !!\n"
              "nation aggregated file not found !!\n"
              "imported 4 nations\n");
    EXPECT_EQ(database.countryBlocks().at("it"), (std::vector<std::string>{"2.32.0.0/11", "", "5.8.0.0/16", ""}));
    EXPECT_EQ(database.countryBlocks().at("de"), (std::vector<std::string>{"2.160.0.0/12"}));

    EXPECT_EQ(countryOf(database, "2.33.4.5"), (CountryMatch{"it", "Italy"}));
    EXPECT_EQ(countryOf(database, "5.8.0.1"), (CountryMatch{"it", "Italy"}));
    EXPECT_EQ(countryOf(database, "2.170.0.1"), (CountryMatch{"de", "Germany"}));
    EXPECT_EQ(countryOf(database, "90.1.2.3"), (CountryMatch{"fr", "France"}));
    EXPECT_EQ(countryOf(database, "145.1.2.3"), (CountryMatch{"nl", "Netherlands"}));
    for (const char* elsewhere : {"11.0.0.1", "2.1.0.1", "2.137.0.1"})
        EXPECT_EQ(countryOf(database, elsewhere), CountryMatch{}) << elsewhere;

    CountryDatabase empty;
    EXPECT_EQ(loadInto(empty, folder.path() / "absent"), "READING ROVEX COUNTRY DATABASE\nimported 0 nations\n");
    EXPECT_EQ(countryOf(empty, "1.2.3.4"), CountryMatch{});
    EXPECT_EQ(CountryDatabase{}.countryOf("1.2.3.4"), CountryMatch{}); // never loaded
}

TEST(CountryDatabaseLoad, LaterFileAndLaterLoadReplaceACode)
{
    TempFolder first;
    first.write("it-aggregated.zone", "10.0.0.0/8\n");
    first.write("sub/it-aggregated.zone", "11.0.0.0/8\n"); // sorts after the top-level file
    first.write("de-aggregated.zone", "12.0.0.0/8\n");
    // The winner follows the sorted paths, not the order the folder lists them in.
    const std::string folders = "kczaqftb";
    for (std::size_t i = 0; i < folders.size(); ++i)
        first.write(fs::path(folders.substr(i, 1)) / "fr-aggregated.zone", std::to_string(60 + i) + ".0.0.0/8\n");
    CountryDatabase database;
    EXPECT_EQ(loadInto(database, first.path()), "READING ROVEX COUNTRY DATABASE\nimported 3 nations\n");
    EXPECT_EQ(countryOf(database, "10.0.0.1"), CountryMatch{});
    EXPECT_EQ(countryOf(database, "11.0.0.1"), (CountryMatch{"it", "Italy"}));
    EXPECT_EQ(database.countryBlocks().at("fr"), (std::vector<std::string>{"62.0.0.0/8", ""}));

    // A reload adds and replaces codes but keeps those it does not see again.
    TempFolder second;
    second.write("it-aggregated.zone", "13.0.0.0/8\n");
    second.write("at-aggregated.zone", "14.0.0.0/8\n");
    EXPECT_EQ(loadInto(database, second.path()), "READING ROVEX COUNTRY DATABASE\nimported 4 nations\n");
    EXPECT_EQ(countryOf(database, "11.0.0.1"), CountryMatch{});
    EXPECT_EQ(countryOf(database, "12.0.0.1"), (CountryMatch{"de", "Germany"}));
    EXPECT_EQ(countryOf(database, "13.0.0.1"), (CountryMatch{"it", "Italy"}));
    EXPECT_EQ(countryOf(database, "14.0.0.1"), (CountryMatch{"at", "Austria"}));
}

TEST(CountryDatabaseLoad, CarriageReturnsEndLinesAndUnreadableFilesAreReported)
{
    TempFolder folder;
    // A zone file written with CRLF line ends keeps every block; a lone carriage return
    // inside a line is still part of it.
    folder.write("it-aggregated.zone", "2.32.0.0/11\r\n5.8.0.0/16\r\n11.0.\r0.0/8\r\n");
    folder.write("de-aggregated.zone", "2.160.0.0/12\r");
    // A regular file whose read fails: the kernel refuses to read this one even for root.
    fs::create_symlink("/proc/self/mem", folder.path() / "fr-aggregated.zone");

    CountryDatabase database;
    const std::string diagnostics = loadInto(database, folder.path());
    EXPECT_EQ(diagnostics,
              "READING ROVEX COUNTRY DATABASE\n"
              "cannot read nation aggregated file "
                  + (folder.path() / "fr-aggregated.zone").string()
                  + "\n"
                    "imported 2 nations\n");
    EXPECT_EQ(database.countryBlocks().at("it"),
              (std::vector<std::string>{"2.32.0.0/11", "5.8.0.0/16", "11.0.\r0.0/8", ""}));
    EXPECT_EQ(database.countryBlocks().at("de"), (std::vector<std::string>{"2.160.0.0/12"}));
    EXPECT_FALSE(database.countryBlocks().contains("fr"));
    EXPECT_EQ(countryOf(database, "2.33.4.5"), (CountryMatch{"it", "Italy"}));
    EXPECT_EQ(countryOf(database, "5.8.0.1"), (CountryMatch{"it", "Italy"}));
    EXPECT_EQ(countryOf(database, "2.170.0.1"), (CountryMatch{"de", "Germany"}));
    EXPECT_EQ(countryOf(database, "11.0.0.1"), CountryMatch{});
}

TEST(CountryMatch, LastBlockInScanOrderWinsAndKeepsTheLastKnownNation)
{
    TempFolder folder;
    // Codes are scanned in ascending order whatever the nesting: the outer it block wins
    // over the inner de block, and the inner us block over the outer it block.
    folder.write("de-aggregated.zone", "10.1.0.0/16\n60.0.0.0/8\n");
    folder.write("it-aggregated.zone", "10.0.0.0/8\n20.0.0.0/8\n");
    folder.write("us-aggregated.zone", "20.1.2.0/24\n");
    // Within one file, lines are scanned in order.
    folder.write("fr-aggregated.zone", "30.0.0.0/8\n");
    folder.write("gb-aggregated.zone", "30.5.0.0/16\n31.0.0.0/8\n30.0.0.0/8\n");
    // xk has no name: a hit shows its code with the nation of the hit before it.
    folder.write("xk-aggregated.zone", "60.1.0.0/16\n40.0.0.0/8\n");
    folder.write("IT-aggregated.zone", "50.0.0.0/8\n");
    CountryDatabase database;
    loadInto(database, folder.path());

    EXPECT_EQ(countryOf(database, "10.1.2.3"), (CountryMatch{"it", "Italy"}));
    EXPECT_EQ(countryOf(database, "10.2.0.0"), (CountryMatch{"it", "Italy"}));
    EXPECT_EQ(countryOf(database, "20.1.2.3"), (CountryMatch{"us", "United States"}));
    EXPECT_EQ(countryOf(database, "20.1.3.0"), (CountryMatch{"it", "Italy"}));
    EXPECT_EQ(countryOf(database, "30.5.0.1"), (CountryMatch{"gb", "United Kingdom"}));
    EXPECT_EQ(countryOf(database, "30.9.0.1"), (CountryMatch{"gb", "United Kingdom"}));
    EXPECT_EQ(countryOf(database, "60.1.2.3"), (CountryMatch{"xk", "Germany"}));
    EXPECT_EQ(countryOf(database, "60.2.0.0"), (CountryMatch{"de", "Germany"}));
    EXPECT_EQ(countryOf(database, "40.1.2.3"), (CountryMatch{"xk", ""}));
    EXPECT_EQ(countryOf(database, "50.1.2.3"), (CountryMatch{"IT", "Italy"}));
}

TEST(CountryMatch, MalformedLinesAndOtherAddressesMatchNothing)
{
    TempFolder folder;
    // ad comes first, so an it line read by mistake would take its addresses. Only one
    // final carriage return ends a line.
    folder.write("ad-aggregated.zone", "0.0.0.0/0\n");
    folder.write("it-aggregated.zone",
                 "\n10.0.0.0\n10.0.0.0/33\n10.0.0.0/x\n::/0\n2001:db8::/32\n10.0.0.0/8\r\r\n"
                 "# 10.0.0.0/8\n11.0.0.0/8\n");
    CountryDatabase database;
    loadInto(database, folder.path());

    EXPECT_EQ(countryOf(database, "10.1.2.3"), (CountryMatch{"ad", "Andorra"}));
    EXPECT_EQ(countryOf(database, "11.1.2.3"), (CountryMatch{"it", "Italy"}));
    EXPECT_EQ(countryOf(database, "255.255.255.255"), (CountryMatch{"ad", "Andorra"}));
    EXPECT_EQ(countryOf(database, "10.1"), (CountryMatch{"ad", "Andorra"}));
    for (const char* address :
         {"::1", "::", "2001:db8::1", "::ffff:10.1.2.3", "fe80::1%eth0", "", "not an address", "256.0.0.1"})
        EXPECT_EQ(countryOf(database, address), CountryMatch{}) << address;
}

namespace {

// Random blocks over a few regions so that they nest, repeat and straddle each other,
// with unaligned networks, whole-space blocks, malformed and empty lines.
std::string randomBlock(std::mt19937& random)
{
    static constexpr std::array<std::uint32_t, 4> regions{0x0A000000, 0x0A010000, 0xC0A80000, 0xFFFF0000};
    const auto pick = [&random](std::uint32_t below) {
        return std::uniform_int_distribution<std::uint32_t>(0, below - 1)(random);
    };
    switch (pick(20)) {
    case 0: return "";
    case 1: return "10.0.0.0/" + std::to_string(static_cast<int>(pick(40)) - 4);
    case 2: return "0.0.0.0/" + std::to_string(pick(4));
    default: break;
    }
    const std::uint32_t network = regions[pick(regions.size())] | (pick(1u << 16) & ~pick(1u << 16));
    const int prefix = static_cast<int>(8 + pick(25));
    return std::to_string(network >> 24) + '.' + std::to_string(network >> 16 & 0xFF) + '.'
        + std::to_string(network >> 8 & 0xFF) + '.' + std::to_string(network & 0xFF) + '/' + std::to_string(prefix);
}

std::string dotted(std::uint32_t value)
{
    return std::to_string(value >> 24) + '.' + std::to_string(value >> 16 & 0xFF) + '.'
        + std::to_string(value >> 8 & 0xFF) + '.' + std::to_string(value & 0xFF);
}

} // namespace

TEST(CountryMatch, IndexAgreesWithTheScanOnRandomDatabases)
{
    const std::vector<std::string> codes{"ch", "de", "eu", "it", "xk", "yy", "zz"};
    for (std::uint32_t seed = 1; seed <= 25; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 random(seed);
        TempFolder folder;
        std::vector<std::uint32_t> probes{0, UINT32_MAX};
        for (const std::string& code : codes) {
            std::string text;
            const auto lines = std::uniform_int_distribution<int>(0, 30)(random);
            for (int line = 0; line < lines; ++line) {
                const std::string block = randomBlock(random);
                if (const auto range = rovex::readIPv4Block(block)) {
                    for (const std::uint32_t edge : {range->first, range->last})
                        probes.insert(probes.end(), {edge - 1, edge, edge + 1});
                }
                text += block + '\n';
            }
            folder.write(code + "-aggregated.zone", text);
        }
        for (int i = 0; i < 300; ++i)
            probes.push_back(std::uniform_int_distribution<std::uint32_t>()(random));

        CountryDatabase database;
        loadInto(database, folder.path());
        int hits = 0;
        for (const std::uint32_t probe : probes) {
            const std::string address = dotted(probe);
            const CountryMatch byIndex = database.countryOf(address);
            ASSERT_EQ(byIndex, database.countryOfByScan(address)) << address;
            hits += byIndex.code.empty() ? 0 : 1;
        }
        EXPECT_GT(hits, 0);
    }
}
