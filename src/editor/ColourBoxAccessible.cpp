#include "editor/ColourBoxAccessible.h"

#include "editor/ColourBox.h"

#include "platform/QtColour.h"

#include <QAccessibleWidget>

using namespace Qt::Literals::StringLiterals;

namespace {

class ColourBoxAccessible final : public QAccessibleWidget, public QAccessibleValueInterface
{
public:
    explicit ColourBoxAccessible(ColourBox *box) : QAccessibleWidget(box, QAccessible::Graphic) {}

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value || t == QAccessible::Description)
            return static_cast<const ColourBox *>(widget())->told();
        return QAccessibleWidget::text(t);
    }
    void *interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ValueInterface ? static_cast<QAccessibleValueInterface *>(this)
                                                   : QAccessibleWidget::interface_cast(type);
    }

    // The value is the colour as a number, 0xRRGGBB as the web writes it (not the display's
    // own order, blue first), for readers that ask for a number; its words are the text above.
    QVariant currentValue() const override
    {
        return QVariant(int(toQRgb(static_cast<const ColourBox *>(widget())->colour()) & 0xFFFFFF));
    }
    void setCurrentValue(const QVariant &) override {}
    QVariant maximumValue() const override { return QVariant(0xFFFFFF); }
    QVariant minimumValue() const override { return QVariant(0); }
    QVariant minimumStepSize() const override { return QVariant(1); }
};

QAccessibleInterface *colourBoxAccessible(const QString &className, QObject *object)
{
    return className == "ColourBox"_L1 ? new ColourBoxAccessible(static_cast<ColourBox *>(object))
                                       : nullptr;
}

} // namespace

void installColourBoxAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(colourBoxAccessible);
        return true;
    }();
    Q_UNUSED(installed);
}
