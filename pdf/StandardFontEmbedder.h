#pragma once

class QPDF;

// Embeds the standard fonts a PDF only names (LibreOffice draws form fields
// with Helvetica, unembedded, even for PDF/A and PDF/UA): each becomes the
// metric-compatible URW font this system's Ghostscript installs, embedded as
// OpenType with the widths of its encoding. A font whose URW twin is missing
// stays as it was.
class StandardFontEmbedder
{
public:
    static void EmbedStandardFonts(QPDF& pdf);
};
