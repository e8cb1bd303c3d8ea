#pragma once

class QWidget;

// Deletes the widget's layout together with every item and widget in it, so a new layout can be
// built from scratch.
void DeleteLayoutAndWidgets(QWidget* owner);
