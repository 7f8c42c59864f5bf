#pragma once

#include "pdf/ConversionSettings.h"

#include <QString>

class QPDFWriter;

// True when the settings ask for an AES-encrypted PDF.
bool UsesAes(const ConversionSettings& settings);
// True when the settings ask for any encryption.
bool UsesEncryption(const ConversionSettings& settings);

// Tells the writer to encrypt as the settings ask, with the passwords of the
// ticked password boxes. AES grants every right but those whose box is
// ticked, each box standing for the same rights as with RC4; RC4 (used when
// a combined PDF is encrypted) gives the rights of the permissions value
// Ghostscript is given. Ghostscript's rule holds here as well: a PDF is
// encrypted only with an owner password. False, with *why, without one.
bool SetEncryption(QPDFWriter& writer, const ConversionSettings& settings, QString* why);
