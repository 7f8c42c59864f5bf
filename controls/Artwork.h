#pragma once

#include <QIcon>
#include <QPixmap>

// The program's bitmaps and icons, by their resource IDs. The pictures are
// our own (app/artwork) and are built into the GUI library.

// The bitmap with this ID; a null pixmap when there is none.
QPixmap LoadBitmapResource(int id);

// The icon with this ID, with every size drawn for it; a null icon when there is none.
QIcon LoadIconResource(int id);

// Puts its bitmap into every picture control a dialog template placed on
// dialog (the labels the builder marks with the bitmap's ID).
void ShowTemplatePictures(QWidget* dialog);
