#include "plots/ScreenPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace mirla {

namespace {

qint64 OverlapArea(const QRect& a, const QRect& b) {
    const QRect common = a.intersected(b);
    return common.isEmpty() ? 0 : qint64(common.width()) * common.height();
}

} // namespace

QRect FitOnScreens(const QRect& saved, const QList<QRect>& screens) {
    if (screens.isEmpty())
        return saved;
    const QRect screen =
        *std::max_element(screens.begin(), screens.end(), [&saved](const QRect& a, const QRect& b) {
            return OverlapArea(saved, a) < OverlapArea(saved, b);
        });
    QRect fitted(saved.topLeft(), saved.size().boundedTo(screen.size()));
    fitted.moveLeft(std::clamp(fitted.left(), screen.left(), screen.right() - fitted.width() + 1));
    fitted.moveTop(std::clamp(fitted.top(), screen.top(), screen.bottom() - fitted.height() + 1));
    return fitted;
}

void RestoreOnVisibleScreen(QWidget& window, const QRect& saved) {
    QList<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens())
        screens << screen->availableGeometry();
    const QRect fitted = FitOnScreens(saved, screens);
    window.move(fitted.topLeft());
    window.resize(fitted.size());
}

} // namespace mirla
