#include "platform/FittingStyle.h"

#include <QStyleFactory>

namespace {

constexpr int OptionRow = 13;

} // namespace

FittingStyle::FittingStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

int FittingStyle::pixelMetric(PixelMetric metric, const QStyleOption *option,
                              const QWidget *widget) const
{
    const int size = QProxyStyle::pixelMetric(metric, option, widget);
    if (metric == PM_ExclusiveIndicatorWidth || metric == PM_ExclusiveIndicatorHeight)
        return qMin(size, OptionRow);
    return size;
}
