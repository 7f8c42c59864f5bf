#pragma once

#include "pdf/ConversionSettings.h"

#include <QString>

class QPDFWriter;

// The two AES choices of "Encryption Level", after the two RC4 ones. AES is
// written by qpdf's library on Ghostscript's finished PDF: Ghostscript writes
// no AES.
inline constexpr int kAes128Level = 2; // revision 4, AESv2, PDF 1.6
inline constexpr int kAes256Level = 3; // revision 6, AESv3, PDF 1.7 extension level 8

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
