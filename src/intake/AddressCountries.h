#pragma once

#include "intake/StoreChanges.h"
#include "intake/TrafficStore.h"
#include "lookup/CountryDatabase.h"

namespace rovex {

// Gives the address rows that a chunk added their country from the database; rows whose
// address matches no block keep an empty flag and name.
void giveCountries(TrafficStore& store, const CountryDatabase& countries, const StoreChanges& changes);

} // namespace rovex
