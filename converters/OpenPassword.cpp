#include "converters/OpenPassword.h"

QString g_openPassword = kNoPassword;
