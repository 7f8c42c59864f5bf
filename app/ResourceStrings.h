#pragma once

#include <QString>

// The program's string table: the text of a string resource, empty for an
// unknown ID.
QString LoadResourceString(int id);
