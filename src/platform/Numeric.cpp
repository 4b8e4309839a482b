#include "platform/Numeric.h"

#include <algorithm>
#include <cmath>

std::int64_t roundHalfEven(double value)
{
    // The default floating-point environment rounds to nearest with ties to even;
    // the program never changes it.
    return static_cast<std::int64_t>(std::nearbyint(value));
}

QStringView mid1(QStringView text, qsizetype start, qsizetype length)
{
    const qsizetype from = start - 1;
    if (from < 0 || length <= 0 || from >= text.size())
        return {};
    return text.mid(from, std::min(length, text.size() - from));
}
