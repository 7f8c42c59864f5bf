#include "converters/OpenPassword.h"

thread_local QString g_openPassword = kNoPassword;
