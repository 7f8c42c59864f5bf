#pragma once

#include "pdf/TextRecognizer.h"

#include <QString>

class CImage;
struct PicturePlacement;

// The text step of a picture's PDF: each page of the picture (each frame of
// a TIFF) is read by Tesseract, and its words are laid as invisible text
// over the picture on the matching page of the PDF Ghostscript made. The
// pictures are not touched. A page that cannot be read keeps no text, and
// the file's notice says so, once.
class PictureTextStep
{
public:
    struct Outcome
    {
        enum class Status {
            Written,   // outputPath holds the PDF with the words laid over its pictures
            Unchanged, // no page gave words: the PDF stays as Ghostscript made it
            Stopped,   // the user stopped the run
        };
        Status status = Status::Unchanged;
        // What the user is told about the file: no text could be recognised
        // (on some pages, or at all), and why. Empty when every page that
        // was read had a place for its words.
        QString notice;
    };

    // workFolder holds the page pictures Tesseract reads and its output;
    // the caller removes it.
    PictureTextStep(const TextRecognizer& recognizer, const QString& workFolder);

    // pdfPath: the picture's PDF; picturePath: the picture file it shows.
    Outcome Run(const QString& pdfPath, const QString& picturePath, const QString& outputPath);

private:
    struct PageText;
    // image: the picture file, opened once; its pages are read in order.
    PageText ReadPage(CImage& image, int index, const PicturePlacement& picture) const;

    const TextRecognizer& m_recognizer;
    const QString m_workFolder;
};
