#pragma once

#include <QString>

// The Advanced page's choices, in the order its boxes list them.
enum class PdfVersion { V1_3, V1_4, V1_5, V1_6, V1_7, PdfA2b };
enum class DocumentCompression { Flate, Lzw };
enum class ImageCompression { Flate, Jpeg, Automatic };
enum class JpegQuality { Minimum, Low, Medium, High, Maximum };

// The Security page's encryption levels, in the order of its buttons. AES is
// written by qpdf's library on Ghostscript's finished PDF: Ghostscript
// writes no AES.
enum class EncryptionMethod {
    Rc4_40,
    Rc4_128,
    Aes128, // revision 4, AESv2, PDF 1.6
    Aes256, // revision 6, AESv3, PDF 1.7 extension level 8
};

// The rights an encrypted PDF withholds: one per ticked box of the Security page.
struct WithheldRights
{
    bool copying = false;  // "Content Copying or Extraction"
    bool forms = false;    // commenting, signing and form filling
    bool changing = false; // changes and assembly
    bool printing = false;

    bool operator==(const WithheldRights&) const = default;
};

// The option values a PDF is made with. The option pages and the command
// line fill it, each converting its own texts once; everything after reads
// the typed values. Every member starts at the value the pages show when
// they first appear.
struct ConversionSettings
{
    // Advanced page.
    PdfVersion pdfVersion = PdfVersion::V1_3;
    DocumentCompression documentCompression = DocumentCompression::Flate;
    ImageCompression imageCompression = ImageCompression::Flate;
    JpegQuality jpegQuality = JpegQuality::Minimum;
    // "Tagged PDF (accessible, PDF/UA)": a structure tree, language and
    // alternate texts; an office document's PDF is then LibreOffice's own.
    bool tagged = false;
    // Recognising the words of pictures, laid as invisible text over each
    // page; the languages as Tesseract names them, several joined by "+".
    bool recognizeText = false;
    QString recognitionLanguages = QStringLiteral("eng");

    // Security page.
    bool securityEnabled = false;
    bool userPasswordEnabled = true;
    bool ownerPasswordEnabled = true;
    WithheldRights withheld;
    EncryptionMethod encryption = EncryptionMethod::Rc4_40;
    QString userPassword;
    QString ownerPassword;

    // Description page.
    QString title;
    QString subject;
    QString author;
    QString keywords;

    bool operator==(const ConversionSettings&) const = default;
};
