// The country database's zone files: a few countries' files written to a scratch folder,
// loaded, and probed. The index must give for every address what a scan of every block
// gives: a differing answer is a fault of the index, reported as a crash.
#include "fuzz/ScratchFolder.h"

#include "lookup/CountryDatabase.h"
#include "lookup/RXMatchIP.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

using namespace rovex;

namespace {

std::string dottedQuad(std::uint32_t address)
{
    return std::to_string(address >> 24) + '.' + std::to_string((address >> 16) & 0xFF) + '.'
        + std::to_string((address >> 8) & 0xFF) + '.' + std::to_string(address & 0xFF);
}

void expectIndexAgrees(const CountryDatabase& database, const std::string& address)
{
    if (database.countryOf(address) != database.countryOfByScan(address))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const fuzz::ScratchFolder scratch;
    std::filesystem::remove_all(scratch.path() / "zones");
    const std::filesystem::path zones = scratch.path() / "zones";
    std::filesystem::create_directory(zones);

    // Codes from a few known ones and one the name table lacks (xk), so that the
    // named and unnamed winners both get exercised.
    static const char* const codes[] = {"de", "it", "us", "xk", "zz"};
    FuzzedDataProvider input(data, size);
    std::vector<std::uint32_t> probes;
    const int files = input.ConsumeIntegralInRange(1, 4);
    for (int i = 0; i < files; ++i) {
        const std::string code = codes[input.ConsumeIntegralInRange<std::size_t>(0, std::size(codes) - 1)];
        fuzz::ScratchFolder::write(zones / (code + "-aggregated.zone"), input.ConsumeRandomLengthString(4096));
        probes.push_back(input.ConsumeIntegral<std::uint32_t>());
    }

    CountryDatabase database;
    std::ostringstream diagnostics;
    database.load(zones, diagnostics);

    for (const std::uint32_t probe : probes)
        expectIndexAgrees(database, dottedQuad(probe));
    // The edges of every block: its network as written, and the addresses on both sides
    // of its bounds, where a range of the index starts or ends.
    for (const auto& [code, lines] : database.countryBlocks()) {
        for (const std::string& line : lines) {
            expectIndexAgrees(database, line.substr(0, line.find('/')));
            if (const std::optional<IPv4Block> block = readIPv4Block(line)) {
                for (const std::uint32_t edge : {block->first - 1, block->first, block->last, block->last + 1})
                    expectIndexAgrees(database, dottedQuad(edge));
            }
        }
    }
    return 0;
}
