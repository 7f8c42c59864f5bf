#pragma once

#include <QImage>
#include <QList>
#include <QPointF>
#include <QRectF>
#include <QString>

// Scans made at test time: known sentences drawn at 300 dots to the inch in
// a few fonts, with grain, a slight blur and a slight skew, and the words
// read back from a PDF with their places.
namespace testscans {

struct Word
{
    QString text;   // letters and digits only
    QPointF center; // in the picture's pixels, or in a page's points
    QRectF box;     // a word found in a PDF: its box, in a page's points
};

struct Scan
{
    QImage image; // grey levels
    QList<Word> words;
};

// A picture of three sentences, 1400 x 1000 pixels (so that turned on its
// side it still fits a page); variant chooses the sentences and the font
// (0: Liberation Serif, 1: Liberation Sans, 2: DejaVu Sans). A black square
// marks each corner of the picture, so its place on a rendered page can be found.
Scan Make(int variant);

// The scan turned clockwise by 90, 180 or 270 degrees, its words with it.
Scan Turned(const Scan& scan, int degrees);

// The scan as a picture with an alpha channel: ink is black of the grey
// level's opacity, the paper fully see-through. Laid over white it is the scan.
QImage WithAlpha(const Scan& scan);

// The words pdftotext -bbox finds on a page (from 1) of a PDF, with their
// centres in points from the page's top-left corner.
QList<Word> PdfWords(const QString& pdf, int page);

// The place of the picture on a page (from 1) of a PDF in points from the
// top-left corner, found from its corner marks on the page as drawn.
QRectF PicturePlace(const QString& pdf, int page);

// The words of a scan where they stand on a page whose picture is at place.
QList<Word> OnPage(const Scan& scan, const QRectF& place);

struct Match
{
    int found = 0;         // known words pdftotext gave
    int total = 0;         // known words
    QStringList misplaced; // found words further than the tolerance from where they are drawn
};

// Pairs each known word with the nearest word of the same text found; it
// is in its place when its box, grown by the tolerance, holds the centre of
// the word as drawn.
Match Compare(const QList<Word>& known, const QList<Word>& found, double tolerancePoints);

} // namespace testscans
