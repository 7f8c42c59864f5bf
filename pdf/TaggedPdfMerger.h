#pragma once

#include <QString>

class QPDF;

// Gathers the structure of tagged parts into the PDF they are joined into:
// one Document, one section per part (titled with its name) holding the
// part's elements, one parent tree whose keys follow on from part to part
// (the copied pages and annotations renumbered to match), one role map and
// the parts' form fields in one form.
class TaggedPdfMerger
{
public:
    explicit TaggedPdfMerger(QPDF& result);

    // After the part's pages were copied into the result (firstPage is the
    // index of the first of pageCount pages there): copies its structure and
    // form fields. A part without structure adds nothing.
    void AddPart(QPDF& part, const QString& title, int firstPage, int pageCount);

    // True once a tagged part was added.
    bool Tagged() const { return m_tagged; }

private:
    QPDF& m_result;
    bool m_tagged = false;
    long long m_nextKey = 0;
};
