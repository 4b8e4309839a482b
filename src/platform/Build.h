#pragma once

#include <QLatin1StringView>
#include <QString>

// The program's version, from the project's, in one place.
namespace Build {

inline constexpr QLatin1StringView Version{VELLOX_VERSION};

// The title the windows show: "Vellox v<version> Beta".
inline QString programTitle()
{
    return QLatin1StringView("Vellox v") + Version + QLatin1StringView(" Beta");
}

} // namespace Build
