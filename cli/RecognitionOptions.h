#pragma once

#include "pdf/ConversionSettings.h"

#include <QCommandLineOption>
#include <QList>
#include <QString>

class QCommandLineParser;

// The command line's text recognition in pictures: --ocr, and
// --ocr-language with the languages, several joined by "+" (English where
// installed when it is not given). A language that is not installed is bad
// usage.
class RecognitionOptions
{
public:
    RecognitionOptions();

    QList<QCommandLineOption> Options() const { return {m_ocr, m_language}; }

    // Fills the settings' recognition from the parsed arguments; empty, or
    // the usage error. tesseract: empty for the one on the search path.
    QString Read(const QCommandLineParser& parser, ConversionSettings& settings,
                 const QString& tesseract = {}) const;

private:
    QCommandLineOption m_ocr;
    QCommandLineOption m_language;
};
