#pragma once

#include <QProxyStyle>

// The windows' style: Fusion, with the circle of a radio button as tall as the 13-pixel
// rows the windows' fixed layouts give their options, so that no scale cuts it off.
class FittingStyle : public QProxyStyle
{
public:
    FittingStyle();
    int pixelMetric(PixelMetric metric, const QStyleOption *option = nullptr,
                    const QWidget *widget = nullptr) const override;
};
