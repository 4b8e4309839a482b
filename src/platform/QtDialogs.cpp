#include "platform/QtDialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLayout>
#include <QMessageBox>
#include <QSpinBox>
#include <QUrl>

namespace {

QString displayText(QString text)
{
    // Messages keep CR LF line breaks like every text of the program; a label wants LF.
    return text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

QString runFileDialog(QFileDialog::AcceptMode mode, const QString &filter,
                      const QString &initialFile)
{
    QFileDialog dialog(QApplication::activeWindow());
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilters(qtNameFilters(filter));
    if (!initialFile.isEmpty())
        dialog.selectFile(initialFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace

QStringList qtNameFilters(const QString &filter)
{
    QStringList result;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        result << parts[i] + QLatin1String(" (") + patterns + QLatin1Char(')');
    }
    return result;
}

void QtDialogs::message(const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, m_title, displayText(text), QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

Dialogs::Answer QtDialogs::question(const QString &text)
{
    QMessageBox box(QMessageBox::Question, m_title, displayText(text),
                    QMessageBox::Yes | QMessageBox::No, QApplication::activeWindow());
    return box.exec() == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

void QtDialogs::showFile(const QString &path)
{
    // File managers open a folder, not a file in it: the folder is shown.
    QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absolutePath()));
}

QString QtDialogs::openFileName(const QString &filter, const QString &initialFile)
{
    return runFileDialog(QFileDialog::AcceptOpen, filter, initialFile);
}

QString QtDialogs::saveFileName(const QString &filter, const QString &initialFile)
{
    return runFileDialog(QFileDialog::AcceptSave, filter, initialFile);
}

namespace {

// The dialog's alpha channel box (0 to 255) gives way to an opacity box in percent, as
// the editor's opacity slider shows it; the colour keeps the alpha byte.
void showOpacityAsPercent(QColorDialog &dialog, const Dialogs::ColourRequest &request)
{
    QSpinBox *alphaBox = nullptr;
    QLabel *alphaLabel = nullptr;
    for (QLabel *label : dialog.findChildren<QLabel *>()) {
        // Qt names it "A&lpha channel:".
        if (auto *box = qobject_cast<QSpinBox *>(label->buddy());
            box && box->maximum() == 255 && label->text().contains(QStringLiteral("lpha"))) {
            alphaBox = box;
            alphaLabel = label;
        }
    }
    if (!alphaBox || !alphaBox->parentWidget() || !alphaBox->parentWidget()->layout())
        return;
    auto *percent = new QSpinBox(alphaBox->parentWidget());
    percent->setRange(0, 100);
    percent->setSuffix(QStringLiteral(" %"));
    percent->setValue(request.percentOf(dialog.currentColor().alpha()));
    delete alphaBox->parentWidget()->layout()->replaceWidget(alphaBox, percent);
    alphaBox->hide();
    alphaLabel->setText(QCoreApplication::translate("QtDialogs", "&Opacity:"));
    alphaLabel->setBuddy(percent);
    QObject::connect(percent, &QSpinBox::valueChanged, &dialog, [&dialog, request](int value) {
        QColor c = dialog.currentColor();
        c.setAlpha(request.alphaOf(value));
        dialog.setCurrentColor(c);
    });
    QObject::connect(&dialog, &QColorDialog::currentColorChanged, percent,
                     [percent, request](const QColor &c) {
                         const QSignalBlocker quiet(percent);
                         percent->setValue(request.percentOf(c.alpha()));
                     });
}

} // namespace

std::optional<QColor> QtDialogs::colour(const QColor &initial, const ColourRequest &request)
{
    // Qt's own dialog on every desktop: it has the screen colour picker.
    QColorDialog::ColorDialogOptions options = QColorDialog::DontUseNativeDialog;
    if (request.percentOf)
        options |= QColorDialog::ShowAlphaChannel;
    QColorDialog dialog(initial, QApplication::activeWindow());
    dialog.setWindowTitle(request.title);
    dialog.setOptions(options);
    // Set again now that the dialog keeps an alpha channel, which it dropped before.
    dialog.setCurrentColor(initial);
    if (request.percentOf)
        showOpacityAsPercent(dialog, request);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.selectedColor();
}
