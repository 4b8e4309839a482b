#include "cli/Tasks.h"

#include "cli/CommandLine.h"
#include "cli/DrawingInput.h"
#include "cli/Gallery.h"
#include "cli/Mending.h"
#include "cli/Render.h"
#include "cli/SkinCheck.h"

int runTask(const CommandLine &command, const QString &factorySkin)
{
    // Read only by the tasks that read skins: --suggest makes one from nothing.
    const auto factory = [&] { return FactorySkin(factorySkin); };
    switch (command.mode) {
    case CommandLine::Mode::Check:
        return checkSkins(command.skins, factory(), command.background,
                          {command.vision, command.severity});
    case CommandLine::Mode::Suggest:
        return suggestSkinFile(command);
    case CommandLine::Mode::Fix:
        return fixSkinFile(command, factory());
    case CommandLine::Mode::Gallery:
        return drawGallery(command, factory());
    default:
        return renderSkin(command, factory());
    }
}
