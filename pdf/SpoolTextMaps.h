#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

class QPDF;

// The text maps (ToUnicode) of an office print job's fonts where one glyph
// stands for several characters: a ligature, or a cluster of an Indic script
// such as Hindi. Ghostscript writes each such entry with the first byte of
// every character after the first replaced by the byte before it, so the
// words read back wrong; the PDF it made gets those entries back from here.
class SpoolTextMaps
{
public:
    // Empty for a PostScript job, or one without such glyphs.
    static SpoolTextMaps Read(const QString& spool);
    bool IsEmpty() const { return m_entries.isEmpty(); }

    // Mends the entries of pdf's fonts that Ghostscript garbled; how many.
    int Mend(QPDF& pdf) const;

private:
    // Font name without its subset tag -> "code:characters" candidates, hex.
    QHash<QByteArray, QList<QPair<QByteArray, QByteArray>>> m_entries;
};
