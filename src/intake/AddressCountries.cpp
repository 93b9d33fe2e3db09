#include "intake/AddressCountries.h"

namespace rovex {

void giveCountries(TrafficStore& store, const CountryDatabase& countries, const StoreChanges& changes)
{
    for (const TrafficCategory category : allTrafficCategories) {
        if (isPortTable(category))
            continue;
        for (const std::size_t position : changes[category].added) {
            const CountryMatch match = countries.countryOf(store.rowName(category, position));
            if (!match.code.empty())
                store.setCountry(category, position, match.code, match.nation);
        }
    }
}

} // namespace rovex
