#pragma once

#include <QIcon>
#include <QString>

namespace kivo {

// A monochrome symbol shipped with Kivo (an SVG resource drawn in black), painted in the palette's text
// colour when it is drawn: the highlighted text colour on a selected row, the disabled text colour when
// disabled. It follows a dark palette or a palette change as a theme's own symbolic icons do.
QIcon symbolIcon(const QString& resource);

} // namespace kivo
