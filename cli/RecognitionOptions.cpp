#include "cli/RecognitionOptions.h"

#include "pdf/RecognitionLanguages.h"

#include <QCommandLineParser>

RecognitionOptions::RecognitionOptions()
    : m_ocr(QStringLiteral("ocr"),
            QStringLiteral("Recognizes the text in pictures (OCR) and lays it, invisible, "
                           "over each page, so the PDF can be searched and copied from.")),
      m_language(
          QStringLiteral("ocr-language"),
          QStringLiteral("The languages of the text in pictures, as Tesseract names them, several joined "
                         "by + (eng+deu); English where installed when not given. Implies --ocr."),
          QStringLiteral("LANGS"))
{
}

QString RecognitionOptions::Read(const QCommandLineParser& parser, ConversionSettings& settings,
                                 const QString& tesseract) const
{
    settings.recognizeText = parser.isSet(m_ocr) || parser.isSet(m_language);
    if (!settings.recognizeText)
        return {};
    const QStringList installed = recognitionlanguages::Installed(tesseract);
    settings.recognitionLanguages =
        parser.isSet(m_language) ? parser.value(m_language) : recognitionlanguages::Default(installed);
    return recognitionlanguages::Refusal(settings.recognitionLanguages, installed);
}
