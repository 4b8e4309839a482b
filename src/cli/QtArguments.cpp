#include "cli/QtArguments.h"

#include <algorithm>
#include <iterator>

using namespace Qt::Literals::StringLiterals;

namespace {

// Qt's own options for the window, which QApplication takes out of the arguments itself
// (as -name VALUE, -name=VALUE, and with two dashes): those that take a value, then those
// that do not.
constexpr QLatin1StringView QtValued[] = {
    "platform"_L1,      "platformpluginpath"_L1,
    "platformtheme"_L1, "plugin"_L1,
    "display"_L1,       "qwindowgeometry"_L1,
    "geometry"_L1,      "qwindowtitle"_L1,
    "title"_L1,         "qwindowicon"_L1,
    "icon"_L1,          "session"_L1,
    "name"_L1,          "style"_L1,
    "stylesheet"_L1,
};
constexpr QLatin1StringView QtFlags[] = {"reverse"_L1, "widgetcount"_L1, "nograb"_L1, "dograb"_L1};

} // namespace

// `arguments` without Qt's own options, whose values are noted in `command`. Stops at
// "--", after which every argument is a skin.
QStringList withoutQtOptions(const QStringList &arguments, CommandLine &command)
{
    QStringList ours = arguments.mid(0, 1);
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &a = arguments[i];
        if (a == "--"_L1) {
            ours += arguments.mid(i);
            break;
        }
        const QString option = a.mid(a.startsWith("--"_L1) ? 2 : 1);
        const QString name = option.section(u'=', 0, 0);
        const auto among = [&name](const auto &names) {
            return std::find(std::begin(names), std::end(names), name) != std::end(names);
        };
        const bool valued = among(QtValued);
        if (!a.startsWith(u'-') || (!valued && !among(QtFlags))) {
            ours << a;
            continue;
        }
        if (!valued)
            continue;
        const QString value =
            option.contains(u'=') ? option.section(u'=', 1) : arguments.value(++i);
        if (name == "style"_L1)
            command.style = value;
        else if (name == "platform"_L1)
            command.platform = value;
        else if (name == "display"_L1)
            command.display = value;
    }
    return ours;
}
