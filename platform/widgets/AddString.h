#pragma once

#include <QString>

class QComboBox;
class QListWidget;

// CB_ADDSTRING and LB_ADDSTRING: a box built with the Sorted style puts the
// text at its place in case-blind order (after equal texts); any other box
// appends it. Returns the index the text got.
int AddString(QComboBox* combo, const QString& text);
int AddString(QListWidget* list, const QString& text);
