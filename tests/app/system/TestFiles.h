#pragma once

#include <QByteArray>
#include <QString>

#include <chrono>

namespace rovex::test {

// Writes a file whole and makes it executable; false when it cannot.
bool writeExecutable(const QString& path, const QByteArray& text);

// The whole file; empty when it cannot be read.
QByteArray readWhole(const QString& path);

// Waits until the file is there, woken by its folder's events; false when the limit passed first.
bool waitForFile(const QString& path, std::chrono::milliseconds limit = std::chrono::seconds(30));

} // namespace rovex::test
