#pragma once

class DrawingArea;
class QAccessibleInterface;

// What a screen reader is told of the preview: the window is a frame named by its caption;
// each scene holds one static text for each text it shows, named as the item list names its
// item, described by its figure, at its place on the screen. The texts follow each drawing.
void installPreviewAccessibility();

// The text of `area` under its keyboard cursor, as a screen reader knows it; none when the
// cursor stands on no text.
QAccessibleInterface *accessibleCursorText(DrawingArea *area);

// Tells a screen reader that the figures of the texts of `area` may have changed, so that
// what it keeps of them is read anew. Nothing while no assistive technology listens.
void tellTextsChanged(DrawingArea *area);
