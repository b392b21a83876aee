#pragma once

#include <QFont>
#include <QPixmap>

// What the program's two windows share in looks.
namespace about {

// 宋体 at 12 pixels (9 points at 96 dpi). Where 宋体 is not installed the families after it, CJK
// fonts of the free desktops, take its place, so Chinese text renders at the same size.
QFont windowFont();

// The program's icon, drawn here: a blue tile with three rising bars.
QPixmap programIcon(int size = 32);

} // namespace about
