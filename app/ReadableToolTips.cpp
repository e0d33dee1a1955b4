#include "app/ReadableToolTips.h"

#include <QEvent>
#include <QToolTip>
#include <QWidget>

#include <cmath>

namespace {

// WCAG's contrast ratio: 1 for none, 21 for black on white.
double contrast(const QColor& a, const QColor& b)
{
    const auto luminance = [](const QColor& colour) {
        const auto linear = [](double c) {
            return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
               0.0722 * linear(colour.blueF());
    };
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// Ordinary text wants at least 4.5:1.
constexpr double ReadableContrast = 4.5;

void giveReadableColours(QWidget* tip)
{
    const QPalette system = QToolTip::palette();
    QColor text = system.color(QPalette::Active, QPalette::ToolTipText);
    QColor ground = system.color(QPalette::Active, QPalette::ToolTipBase);
    if (contrast(text, ground) < ReadableContrast) {
        text = Qt::black;
        ground = QColor(255, 255, 225);
    }
    QPalette colours = tip->palette();
    for (QPalette::ColorRole role : {QPalette::ToolTipText, QPalette::WindowText, QPalette::Text})
        colours.setColor(QPalette::All, role, text);
    for (QPalette::ColorRole role : {QPalette::ToolTipBase, QPalette::Window, QPalette::Base})
        colours.setColor(QPalette::All, role, ground);
    tip->setPalette(colours);
}

} // namespace

// On showing, after the style has polished the tooltip with its own colours.
bool ReadableToolTips::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Show && watched->inherits("QTipLabel"))
        giveReadableColours(static_cast<QWidget*>(watched));
    return QObject::eventFilter(watched, event);
}
