#pragma once

#include <QString>

#include <ostream>

// Failed comparisons of texts print the text, not its bytes.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
