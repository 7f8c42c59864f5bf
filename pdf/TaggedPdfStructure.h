#pragma once

#include <QString>

class QPDF;

// The structure work of a tagged PDF, done with qpdf's library on the PDF a
// final step writes.
class TaggedPdfStructure
{
public:
    // True when the PDF at path has a structure tree.
    static bool HasStructure(const QString& path);

    // Tags a PDF without structure (a picture's, from Ghostscript): each
    // page's drawing becomes one Figure whose alternate text is altText, and
    // each line of text laid over the picture (its recognised words) a P
    // after it, under one Document, with the parent tree, page keys and
    // catalog entries that say so; language is set where the PDF has none.
    static void TagPictures(QPDF& pdf, const QString& altText, const QString& language);

    // What every tagged PDF gets before its document information is written:
    // a title where none is given (fallbackTitle), shown by the viewer in
    // place of the file's name; the marked flag; one Document element at the
    // top of the structure; a language; form fields described by their names
    // where they have no description of their own.
    static void Finish(QPDF& pdf, const QString& fallbackTitle, const QString& language);

    // The language a PDF without one is given: the user's, as BCP 47.
    static QString UserLanguage();
};
