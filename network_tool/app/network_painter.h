// Draws a Combra network: boxes, panels, texts, arrows and the results under outlets.
// The same drawing serves the screen, printing and print preview.
#pragma once

#include <QFont>
#include <QRect>

#include "bmp_doc.h"

class QPainter;

namespace combra::app {

// Arial, weight 500, 14 pixels high: six lines fit the inner panel of a box.
QFont NetworkFont();

// Paints every node in node-list order, in document pixels (the caller translates for
// scrolling or scales for the printer).
void PaintNetwork(QPainter& painter, const CBMPDoc& doc, bool resultsValid);

// The document area covered by the drawing (boxes, and the result texts when shown).
QRect DrawingBounds(const CBMPDoc& doc, bool resultsValid);

}  // namespace combra::app
