#pragma once

#include <QString>

// The option values a PDF is made with. The option pages fill it; the
// Ghostscript command line and the side file are built from it. Every member
// starts at the value the pages show when they first appear.
struct ConversionSettings
{
    // Advanced page: the texts of the combo boxes' selected items.
    QString pdfVersion = QStringLiteral("V1.3(Acrobat 4.xx)");
    QString documentCompression = QStringLiteral("Flate");
    QString imageCompression = QStringLiteral("Flate");
    QString jpegQuality = QStringLiteral("Minimum");
    // "Tagged PDF (accessible, PDF/UA)": a structure tree, language and
    // alternate texts; an office document's PDF is then LibreOffice's own.
    bool tagged = false;
    // Recognising the words of pictures, laid as invisible text over each
    // page; the languages as Tesseract names them, several joined by "+".
    bool recognizeText = false;
    QString recognitionLanguages = QStringLiteral("eng");

    // Security page. Flags are 0 or 1.
    int securityEnabled = 0;
    int userPasswordEnabled = 1;
    int ownerPasswordEnabled = 1;
    int copyingChecked = 0;
    int formsChecked = 0;
    int changingChecked = 0;
    int printingChecked = 0;
    int encryptionLevel = 0; // 0 = 40-bit RC4, 1 = 128-bit RC4, 2 = 128-bit AES, 3 = 256-bit AES
    QString userPassword;
    QString ownerPassword;

    // Description page.
    QString title;
    QString subject;
    QString author;
    QString keywords;

    bool operator==(const ConversionSettings&) const = default;
};
