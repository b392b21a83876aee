#pragma once

#include "catalogue/catalogue_editor.h"

#include <QIcon>
#include <QPixmap>

// The pictures of the main window, drawn in code so that no image files need to be shipped.
namespace app {

// 16 x 16 pictures of the four lists: school (a building with a flag), grade (three steps), class
// (a blackboard) and subject (an open book).
QIcon listPicture(catalogue::Level level);
// The decorative side picture: the program title written downwards on a blue band.
QPixmap sidePicture(QSize size);

// 16 x 16 button pictures.
QIcon addPicture();
QIcon modifyPicture();
QIcon savePicture();
QIcon deletePicture();
QIcon aboutPicture();

} // namespace app
