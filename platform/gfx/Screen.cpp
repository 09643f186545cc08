#include "platform/gfx/Screen.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>

namespace gfx {

int ScreenPixelsPerInch()
{
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr) {
        if (QScreen* screen = QGuiApplication::primaryScreen()) {
            int dpi = static_cast<int>(std::lround(screen->logicalDotsPerInchY()));
            if (dpi > 0)
                return dpi;
        }
    }
    return 96;
}

} // namespace gfx
