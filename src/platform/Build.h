#pragma once

#include <QLatin1StringView>
#include <QString>

// The program's version and reverse-DNS name, from the project's, in one place.
namespace Build {

inline constexpr QLatin1StringView Version{VELLOX_VERSION};
// The name of its desktop entry and metadata, and its app id on Wayland.
inline constexpr QLatin1StringView AppId{VELLOX_APP_ID};

// The title the windows show: "Vellox v<version> Beta".
inline QString programTitle()
{
    return QLatin1StringView("Vellox v") + Version + QLatin1StringView(" Beta");
}

} // namespace Build
