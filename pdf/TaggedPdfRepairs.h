#pragma once

class QPDF;

// Repairs to LibreOffice's tagged export, done with qpdf's library before
// the PDF is final. Each leaves a PDF it finds nothing wrong with alone.
class TaggedPdfRepairs
{
public:
    // Marked-content ids the structure claims but no page content has (a
    // form field's, in LibreOffice's text documents) are taken out of it, so
    // no element points at nothing and no new id can be taken twice.
    static void DropDanglingContent(QPDF& pdf);

    // Text drawn outside any tagged or artifact content (a sheet's cells) is
    // tagged: each such text object becomes a paragraph of the document, so
    // a screen reader reads every word the page shows.
    static void TagLooseText(QPDF& pdf);

    // Form fields' widget annotations outside the structure tree (LibreOffice
    // tags a field's drawing but not the field itself): each is put under
    // the Form element drawn on its page, in order, or under a new one, with
    // its parent tree entry, so a screen reader reaches the field.
    static void NestWidgets(QPDF& pdf);

    // Pictures drawn as artifacts while their Figure elements stay empty (a
    // text document's pictures): where a page has as many of each, the
    // pictures' marked content becomes their Figures', in order, so readers
    // find the figure with its alternate text where the picture is.
    static void TagArtifactPictures(QPDF& pdf);
};
