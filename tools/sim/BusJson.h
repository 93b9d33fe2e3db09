#pragma once

#include <QVariant>

#include <nlohmann/json.hpp>

namespace rovex {

// A value as QtDBus hands it over (basic types, string lists, variants, or a QDBusArgument
// for arrays, structures and maps) in its closest JSON form: strings, object paths and
// signatures as strings, numbers and booleans as such, arrays, byte arrays and structures
// as arrays, maps as objects whose keys are texts. Reads a QDBusArgument to its end.
nlohmann::ordered_json busValueToJson(const QVariant& value);

} // namespace rovex
