#pragma once

#include "pdf/ConversionSettings.h"

#include <QString>

// Why a run with these settings must not start: empty when it may, else the
// one message shown at Convert (caption "Foliant 3.0") before anything runs.
// Settings that would give a PDF without the security the Security page
// asks for are refused here, never dropped silently nor failed file by file.
QString SettingsRefusal(const ConversionSettings& settings);
