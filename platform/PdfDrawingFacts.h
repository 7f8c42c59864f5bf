#pragma once

#include <QString>

#include <vector>

// What a PDF draws, as far as the choice of its version goes: whether it
// uses transparency (which PDF 1.3 cannot hold), and how much text it shows
// (the bytes of every string its pages and their forms show), so two
// renderings of one document can be compared for lost words.
struct PdfDrawingFacts
{
    bool read = false; // false when the file is no PDF that could be read
    bool transparency = false;
    qint64 shownTextBytes = 0;

    // Each page's own, in page order (with countText only): whether what
    // it draws uses transparency, and the bytes of text it shows.
    struct Page
    {
        bool transparency = false;
        qint64 shownTextBytes = 0;
    };
    std::vector<Page> pages;

    // countText false leaves shownTextBytes 0 and reads only what it must.
    static PdfDrawingFacts Read(const QString& pdf, bool countText = true);
};
