#pragma once

#include "pdf/ConversionSettings.h"

#include <QString>

// Settings that would give a PDF without the security the Security page
// asks for are refused at Convert, never dropped silently nor failed file by
// file.
enum class RefusedSettings {
    None,
    EncryptedArchive, // PDF/A forbids encryption
    NoOwnerPassword,  // Ghostscript encrypts only with an owner password
    TaggedCopyLocked, // 40-bit RC4 cannot let screen readers in while copying is withheld
};
RefusedSettings RefusalOf(const ConversionSettings& settings);

// Why a run with these settings must not start: empty when it may, else the
// one message shown at Convert (caption "Foliant 3.0") before anything runs.
QString SettingsRefusal(const ConversionSettings& settings);
