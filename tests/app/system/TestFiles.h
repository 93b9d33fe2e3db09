#pragma once

#include <QByteArray>
#include <QString>

#include <chrono>
#include <functional>

namespace rovex::test {

// Writes a file whole and makes it executable; false when it cannot.
bool writeExecutable(const QString& path, const QByteArray& text);

// The whole file; empty when it cannot be read.
QByteArray readWhole(const QString& path);

// Checks done() until it holds or the limit passes; true when it holds.
bool waitFor(const std::function<bool()>& done, std::chrono::milliseconds limit = std::chrono::seconds(20));

} // namespace rovex::test
