#pragma once

#include <QString>
#include <QStringList>

// The languages Tesseract can recognise here, and the choice of them: one
// language or several joined by "+" ("eng+deu"), as Tesseract takes them.
namespace recognitionlanguages {

// The installed languages, as Tesseract lists them, without its orientation
// data ("osd"); empty when Tesseract is missing or says nothing. executable
// empty: tesseract on the search path.
QStringList Installed(const QString& executable = {});

// The choice shown first: English where it is installed, else the first
// language; empty when there is none.
QString Default(const QStringList& installed);

// The languages of a choice ("eng+deu" gives eng, deu); empty entries left out.
QStringList Split(const QString& choice);

// Empty when choice names one or more installed languages; else why not, in
// the program's words.
QString Refusal(const QString& choice, const QStringList& installed);

} // namespace recognitionlanguages
