#include "pdf/TaggedPdfMerger.h"

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFNumberTreeObjectHelper.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>

#include <vector>

namespace {

using Handle = QPDFObjectHandle;

Handle Copied(QPDF& result, QPDF& part, Handle object)
{
    return result.copyForeignObject(object.isIndirect() ? object : part.makeIndirectObject(object));
}

// The result's structure root and its Document, made on first use.
Handle Document(QPDF& result)
{
    Handle root = result.getRoot();
    Handle tree = root.getKey("/StructTreeRoot");
    if (!tree.isDictionary()) {
        tree = result.makeIndirectObject(Handle::parse("<< /Type /StructTreeRoot /K [] /RoleMap << >> >>"));
        Handle document =
            result.makeIndirectObject(Handle::parse("<< /Type /StructElem /S /Document /K [] >>"));
        document.replaceKey("/P", tree);
        tree.replaceKey("/K", document);
        tree.replaceKey("/ParentTree", result.makeIndirectObject(Handle::parse("<< /Nums [] >>")));
        root.replaceKey("/StructTreeRoot", tree);
        root.replaceKey("/MarkInfo", Handle::parse("<< /Marked true >>"));
    }
    return tree.getKey("/K");
}

void Renumber(Handle object, const char* key, long long offset)
{
    if (object.isDictionary() && object.getKey(key).isInteger())
        object.replaceKey(key, Handle::newInteger(object.getKey(key).getIntValue() + offset));
}

} // namespace

TaggedPdfMerger::TaggedPdfMerger(QPDF& result) : m_result(result) {}

void TaggedPdfMerger::AddPart(QPDF& part, const QString& title, int firstPage, int pageCount)
{
    Handle partRoot = part.getRoot();
    Handle partTree = partRoot.getKey("/StructTreeRoot");
    Handle resultRoot = m_result.getRoot();

    // The part's form fields join the result's form; their widgets are the
    // annotations of the copied pages.
    Handle partForm = partRoot.getKey("/AcroForm");
    if (partForm.isDictionary() && partForm.getKey("/Fields").isArray()) {
        Handle form = resultRoot.getKey("/AcroForm");
        if (!form.isDictionary()) {
            form = m_result.makeIndirectObject(Handle::parse("<< /Fields [] >>"));
            for (const char* key : {"/DR", "/DA"})
                if (partForm.hasKey(key))
                    form.replaceKey(key, Copied(m_result, part, partForm.getKey(key)));
            resultRoot.replaceKey("/AcroForm", form);
        }
        Handle fields = form.getKey("/Fields");
        for (Handle field : partForm.getKey("/Fields").getArrayAsVector())
            fields.appendItem(Copied(m_result, part, field));
    }

    if (!partTree.isDictionary())
        return;
    m_tagged = true;
    Handle document = Document(m_result);
    Handle tree = resultRoot.getKey("/StructTreeRoot");
    if (!resultRoot.getKey("/Lang").isString() && partRoot.getKey("/Lang").isString())
        resultRoot.replaceKey("/Lang", partRoot.getKey("/Lang"));

    // The part's elements, beneath a section of its own.
    Handle section = m_result.makeIndirectObject(Handle::parse("<< /Type /StructElem /S /Sect >>"));
    section.replaceKey("/P", document);
    section.replaceKey("/T", Handle::newUnicodeString(title.toStdString()));
    Handle top = partTree.getKey("/K");
    if (top.isDictionary() && top.getKey("/S").isNameAndEquals("/Document"))
        top = top.getKey("/K");
    std::vector<Handle> kids;
    for (Handle kid : top.isArray() ? top.getArrayAsVector() : std::vector<Handle>{top}) {
        if (!kid.isDictionary())
            continue;
        Handle copied = Copied(m_result, part, kid);
        copied.replaceKey("/P", section);
        kids.push_back(copied);
    }
    section.replaceKey("/K", Handle::newArray(kids));
    document.getKey("/K").appendItem(section);

    // Role and class maps: the first meaning of a name stands.
    for (const char* key : {"/RoleMap", "/ClassMap"}) {
        Handle partMap = partTree.getKey(key);
        if (!partMap.isDictionary())
            continue;
        if (!tree.getKey(key).isDictionary())
            tree.replaceKey(key, Handle::newDictionary());
        Handle map = tree.getKey(key);
        for (auto [name, value] : partMap.getDictAsMap())
            if (!map.hasKey(name))
                map.replaceKey(name, Copied(m_result, part, value));
    }

    // The parent tree: the part's keys after those of the parts before it.
    const long long offset = m_nextKey;
    QPDFNumberTreeObjectHelper parents(tree.getKey("/ParentTree"), m_result, true);
    long long next = partTree.getKey("/ParentTreeNextKey").isInteger()
                         ? partTree.getKey("/ParentTreeNextKey").getIntValue()
                         : 0;
    if (partTree.getKey("/ParentTree").isDictionary()) {
        QPDFNumberTreeObjectHelper partParents(partTree.getKey("/ParentTree"), part, true);
        for (auto [key, value] : partParents) {
            parents.insert(key + offset, Copied(m_result, part, value));
            next = std::max(next, key + 1);
        }
    }
    m_nextKey = offset + next;
    tree.replaceKey("/ParentTreeNextKey", Handle::newInteger(m_nextKey));
    std::vector<QPDFPageObjectHelper> pages = QPDFPageDocumentHelper(m_result).getAllPages();
    for (int i = firstPage; i < firstPage + pageCount && i < static_cast<int>(pages.size()); ++i) {
        Handle page = pages[static_cast<size_t>(i)].getObjectHandle();
        Renumber(page, "/StructParents", offset);
        Handle annotations = page.getKey("/Annots");
        for (Handle annotation :
             annotations.isArray() ? annotations.getArrayAsVector() : std::vector<Handle>{})
            Renumber(annotation, "/StructParent", offset);
    }
}
