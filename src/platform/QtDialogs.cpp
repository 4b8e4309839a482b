#include "platform/QtDialogs.h"
#include "platform/X11Windows.h"

#include <QApplication>
#include <QColorDialog>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLayout>
#include <QMessageBox>
#include <QPointer>
#include <QSpinBox>
#include <QUrl>

namespace {

QString displayText(QString text)
{
    // Messages keep CR LF line breaks like every text of the program; a label wants LF.
    return text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

// A dialog opens as the child of the window that asks, so that a window manager keeps it
// over that window and gives that window the focus back; and since not every one does,
// the window is made active again with the focus where it was.
class Asking
{
public:
    explicit Asking(QWidget *owner)
        : m_window(owner ? owner->window() : QApplication::activeWindow()),
          m_focus(m_window ? m_window->focusWidget() : nullptr)
    {
    }
    Asking(const Asking &) = delete;
    Asking &operator=(const Asking &) = delete;
    ~Asking()
    {
        if (!m_window || !m_window->isVisible())
            return;
        m_window->activateWindow();
        if (m_focus)
            m_focus->setFocus(Qt::ActiveWindowFocusReason);
        takeBackMissedFocus(*m_window, m_focus);
    }
    QWidget *parent() const { return m_window; }

private:
    QPointer<QWidget> m_window, m_focus;
};

QString runFileDialog(QWidget *owner, QFileDialog::AcceptMode mode, const QString &filter,
                      const QString &initialFile)
{
    const Asking asking(owner);
    QFileDialog dialog(asking.parent());
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilters(qtNameFilters(filter));
    // Qt would start where any dialog last took a file, a picture's folder for a skin: a
    // kind of file not chosen before starts in the working folder.
    if (initialFile.isEmpty())
        dialog.setDirectory(QDir::currentPath());
    else
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
    const Asking asking(owner());
    QMessageBox box(QMessageBox::NoIcon, m_title, displayText(text), QMessageBox::Ok,
                    asking.parent());
    box.exec();
}

Dialogs::Answer QtDialogs::question(const QString &text)
{
    const Asking asking(owner());
    QMessageBox box(QMessageBox::Question, m_title, displayText(text),
                    QMessageBox::Yes | QMessageBox::No, asking.parent());
    return box.exec() == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

void QtDialogs::showFile(const QString &path)
{
    // File managers open a folder, not a file in it: the folder is shown.
    QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absolutePath()));
}

QString QtDialogs::openFileName(const QString &filter, const QString &initialFile)
{
    return runFileDialog(owner(), QFileDialog::AcceptOpen, filter, initialFile);
}

QString QtDialogs::saveFileName(const QString &filter, const QString &initialFile)
{
    return runFileDialog(owner(), QFileDialog::AcceptSave, filter, initialFile);
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
    const Asking asking(owner());
    QColorDialog dialog(initial, asking.parent());
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
