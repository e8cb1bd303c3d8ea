#pragma once

class QLabel;
class QPixmap;

// Shows a lamp image in a label that scales its contents. The label would smooth-scale the large
// image again at every change; handed the image already at the label's size, it only copies it.
// The scaled images are shared through the application's pixmap cache, so tiles of one size scale
// each lamp once. A label resized later still scales correctly, only more slowly, until the next change.
void ShowLamp(QLabel* label, const QPixmap& lamp);
