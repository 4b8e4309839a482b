#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>

// Every fraction that becomes an integer in this program rounds to the nearest
// integer with ties to the even one (25.5 -> 26, 76.5 -> 76, 127.5 -> 128).
std::int64_t roundHalfEven(double value);

// Characters `start` to `start + length - 1`, counted from 1. A text too short for the
// range gives the part that exists, possibly nothing; it never fails.
QStringView mid1(QStringView text, qsizetype start, qsizetype length);
