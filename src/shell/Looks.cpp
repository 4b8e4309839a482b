#include "shell/Looks.h"

#include "platform/FittingStyle.h"
#include "platform/Widgets.h"

#include <QApplication>
#include <QImageReader>
#include <QPixmap>
#include <QStyle>

void setUpLooks(const QString &style)
{
    // Qt has applied the user's style already; named again, it holds whatever was set
    // before. A name Qt does not know leaves the windows' own.
    if (style.isEmpty() || !QApplication::setStyle(style))
        QApplication::setStyle(new FittingStyle);
    // Read as the PNG it is, asking no image plugin: loading them all to ask which reads
    // it is a noticeable part of the start.
    QImageReader icon(QStringLiteral(":/vellox.png"), "png");
    icon.setAutoDetectImageFormat(false);
    QApplication::setWindowIcon(QPixmap::fromImage(icon.read()));
    // Message boxes and file dialogs in the windows' own font.
    QApplication::setFont(layoutFont());
}
