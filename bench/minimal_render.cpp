// The yardstick for `vellox --render`, as a whole process: a Qt program on the offscreen
// platform that draws one text into a 480 x 360 image and saves it as PNG, and no more.
//   minimal_render OUTPUT.png
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

int main(int argc, char *argv[])
{
    if (argc != 2)
        return 2;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QImage image(480, 360, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.drawText(QPoint(20, 40), QStringLiteral("Zantho"));
    }
    return image.save(QString::fromLocal8Bit(argv[1]), "PNG") ? 0 : 1;
}
