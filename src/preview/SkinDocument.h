#pragma once

#include "preview/WorkingPicture.h"

#include "skin/ColourTable.h"

#include "platform/ProgramDirectory.h"

// The skin being edited, for the whole run: its colour table and its working picture.
// The editor owns it; the preview reads the colours at the moment it draws and imports
// into the picture.
class SkinDocument
{
public:
    explicit SkinDocument(const ProgramDirectory &programDir) : m_picture(programDir) {}

    ColourTable &colours() { return m_colours; }
    const ColourTable &colours() const { return m_colours; }
    WorkingPicture &picture() { return m_picture; }

private:
    ColourTable m_colours;
    WorkingPicture m_picture;
};
