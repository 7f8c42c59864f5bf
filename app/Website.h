#pragma once

#include <QString>

// The product's web site, set when the program is built; the Website button
// and the about box's link open it.
QString WebsiteAddress();
