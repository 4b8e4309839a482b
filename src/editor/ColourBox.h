#pragma once

#include "platform/DisplayColour.h"

#include <QWidget>

// A plain area showing one colour, outlined like the colour swatch it stands for. A
// double-click, or Space or Enter while it has the focus, asks for a colour dialog.
class ColourBox : public QWidget
{
    Q_OBJECT

public:
    explicit ColourBox(QWidget *parent = nullptr);

    DisplayColour colour() const { return m_colour; }
    // `told` is the colour in words, as a screen reader is told it.
    void setColour(DisplayColour colour, const QString &told);
    const QString &told() const { return m_told; }

signals:
    void activated();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    DisplayColour m_colour = 0xFFFFFF;
    QString m_told;
};
