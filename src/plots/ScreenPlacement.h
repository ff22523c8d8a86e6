#pragma once

#include <QList>
#include <QRect>

class QWidget;

namespace mirla {

/// `saved` moved, and shrunk where it is larger, so that it lies wholly on the screen area of
/// `screens` it overlaps most, or on the first one when it overlaps none. `saved` itself when
/// there are no screens.
QRect FitOnScreens(const QRect& saved, const QList<QRect>& screens);

/// Gives `window` the saved geometry `saved` (position of its frame, size of its inside), moved
/// onto the available area of a screen that is there now, so that a window saved on a screen
/// that has gone or changed comes back whole and visible.
void RestoreOnVisibleScreen(QWidget& window, const QRect& saved);

} // namespace mirla
