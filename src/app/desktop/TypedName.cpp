#include "app/desktop/TypedName.h"

#include "app/desktop/AddressClass.h"

#include <algorithm>

namespace rovex {

TypedName typedPort(const QString& text)
{
    const QString port = text.trimmed();
    const bool digits = !port.isEmpty() && port.size() <= 5
        && std::all_of(port.begin(), port.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    const int value = digits ? port.toInt() : 0;
    if (value < 1 || value > 65535)
        return {{}, QStringLiteral("A port is a number from 1 to 65535.")};
    return {QString::number(value).toStdString(), {}}; // "080" is port 80, as the log writes it
}

TypedName typedAddress(const QString& text)
{
    std::string address = canonicalAddress(text.trimmed().toStdString());
    if (address.empty())
        return {{}, QStringLiteral("Not an IPv4 or IPv6 address.")};
    return {std::move(address), {}};
}

} // namespace rovex
