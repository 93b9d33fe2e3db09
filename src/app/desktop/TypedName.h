#pragma once

#include <QString>

#include <string>

namespace rovex {

// A port or an address the user typed to ignore: the name as the tables write it, or
// why it was refused.
struct TypedName {
    std::string name;
    QString refusal; // empty when the name is good

    bool accepted() const { return refusal.isEmpty(); }
};

// A port is 1 to 65535, in decimal digits only.
TypedName typedPort(const QString& text);
// An address is IPv4 or IPv6 text.
TypedName typedAddress(const QString& text);

} // namespace rovex
