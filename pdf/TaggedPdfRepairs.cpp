#include "pdf/TaggedPdfRepairs.h"

#include <qpdf/Buffer.hh>
#include <qpdf/Pl_Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFNumberTreeObjectHelper.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>

#include <map>
#include <set>
#include <vector>

namespace {

using Handle = QPDFObjectHandle;

std::vector<Handle> Kids(Handle element)
{
    Handle k = element.getKey("/K");
    if (k.isArray())
        return k.getArrayAsVector();
    if (k.isNull())
        return {};
    return {k};
}

void AddKid(Handle element, Handle kid)
{
    std::vector<Handle> kids = Kids(element);
    kids.push_back(kid);
    element.replaceKey("/K", Handle::newArray(kids));
}

// Every structure element below kids, depth first, in reading order.
void Collect(Handle kids, std::vector<Handle>& elements, std::set<QPDFObjGen>& seen, int depth)
{
    if (depth > 200)
        return;
    for (Handle kid : kids.isArray() ? kids.getArrayAsVector() : std::vector<Handle>{kids}) {
        if (!kid.isDictionary() || !kid.getKey("/S").isName())
            continue;
        if (kid.isIndirect() && !seen.insert(kid.getObjGen()).second)
            continue;
        elements.push_back(kid);
        Collect(kid.getKey("/K"), elements, seen, depth + 1);
    }
}

std::vector<Handle> Elements(Handle tree)
{
    std::vector<Handle> elements;
    std::set<QPDFObjGen> seen;
    Collect(tree.getKey("/K"), elements, seen, 0);
    return elements;
}

// The parent tree, made where there is none, and its next free key.
struct ParentTree
{
    ParentTree(QPDF& pdf, Handle tree)
    {
        if (!tree.getKey("/ParentTree").isDictionary())
            tree.replaceKey("/ParentTree", pdf.makeIndirectObject(Handle::parse("<< /Nums [] >>")));
        helper = std::make_unique<QPDFNumberTreeObjectHelper>(tree.getKey("/ParentTree"), pdf, true);
        next = tree.getKey("/ParentTreeNextKey").isInteger() ? tree.getKey("/ParentTreeNextKey").getIntValue()
                                                             : 0;
        for (const auto& item : *helper)
            next = std::max(next, item.first + 1);
    }
    std::unique_ptr<QPDFNumberTreeObjectHelper> helper;
    long long next = 0;
};

// The page's array in the parent tree, made (with the page's key) where
// there is none.
Handle PageParents(QPDF& pdf, ParentTree& parents, Handle page)
{
    Handle array;
    if (page.getKey("/StructParents").isInteger() &&
        parents.helper->findObject(page.getKey("/StructParents").getIntValue(), array) && array.isArray())
        return array;
    array = pdf.makeIndirectObject(Handle::newArray());
    page.replaceKey("/StructParents", Handle::newInteger(parents.next));
    parents.helper->insert(parents.next, array);
    ++parents.next;
    return array;
}

void SetParent(Handle array, int mcid, Handle element)
{
    while (array.getArrayNItems() <= mcid)
        array.appendItem(Handle::newNull());
    array.setArrayItem(mcid, element);
}

// Replaces the page's content with what the filter makes of it.
void FilterPage(QPDF& pdf, QPDFPageObjectHelper& page, Handle::TokenFilter& filter)
{
    Pl_Buffer buffer("repaired content");
    page.filterContents(&filter, &buffer);
    std::shared_ptr<Buffer> content = buffer.getBufferSharedPointer();
    page.getObjectHandle().replaceKey(
        "/Contents",
        pdf.newStream(std::string(reinterpret_cast<const char*>(content->getBuffer()), content->getSize())));
}

// Finds the artifacts (/Artifact BMC, in order) that draw an image.
class ArtifactScan : public Handle::ParserCallbacks
{
public:
    explicit ArtifactScan(Handle xobjects) : m_xobjects(xobjects) {}

    void handleObject(Handle object) override
    {
        if (!object.isOperator()) {
            m_operands.push_back(object);
            return;
        }
        const std::string op = object.getOperatorValue();
        if (op == "BMC" || op == "BDC") {
            const bool artifact = op == "BMC" && !m_operands.empty() && m_operands.front().isName() &&
                                  m_operands.front().getName() == "/Artifact";
            m_stack.push_back(artifact ? m_artifacts++ : -1);
            if (op == "BDC" && m_operands.size() >= 2 && m_operands[1].isDictionary() &&
                m_operands[1].getKey("/MCID").isInteger()) {
                const int mcid = static_cast<int>(m_operands[1].getKey("/MCID").getIntValue());
                maxMcid = std::max(maxMcid, mcid);
                mcids.insert(mcid);
            }
        } else if (op == "EMC") {
            if (!m_stack.empty())
                m_stack.pop_back();
        } else if (op == "Do" && !m_stack.empty() && m_stack.back() >= 0 && !m_operands.empty() &&
                   m_operands.front().isName() && m_xobjects.isDictionary()) {
            Handle image = m_xobjects.getKey(m_operands.front().getName());
            if (image.isStream() && image.getDict().getKey("/Subtype").isNameAndEquals("/Image"))
                pictures.insert(m_stack.back());
        }
        m_operands.clear();
    }
    void handleEOF() override {}

    std::set<int> pictures;
    std::set<int> mcids;
    int maxMcid = -1;

private:
    Handle m_xobjects;
    std::vector<Handle> m_operands;
    std::vector<int> m_stack;
    int m_artifacts = 0;
};

// Rewrites the chosen artifacts' openings as Figure marked content.
class ArtifactToFigure : public Handle::TokenFilter
{
public:
    explicit ArtifactToFigure(std::map<int, int> mcids) : m_mcids(std::move(mcids)) {}

    void handleToken(QPDFTokenizer::Token const& token) override
    {
        if (m_held) {
            if (token.getType() == QPDFTokenizer::tt_space || token.getType() == QPDFTokenizer::tt_comment) {
                m_pending.push_back(token);
                return;
            }
            m_held = false;
            if (token.getType() == QPDFTokenizer::tt_word && token.getValue() == "BMC") {
                const auto mcid = m_mcids.find(m_artifacts++);
                if (mcid != m_mcids.end()) {
                    write("/Figure <</MCID " + std::to_string(mcid->second) + ">> BDC");
                    m_pending.clear();
                    return;
                }
            }
            for (const auto& pending : m_pending)
                writeToken(pending);
            m_pending.clear();
        }
        if (token.getType() == QPDFTokenizer::tt_name && token.getValue() == "/Artifact") {
            m_held = true;
            m_pending.push_back(token);
            return;
        }
        writeToken(token);
    }
    void handleEOF() override
    {
        for (const auto& pending : m_pending)
            writeToken(pending);
    }

private:
    std::map<int, int> m_mcids; // artifact index -> MCID
    std::vector<QPDFTokenizer::Token> m_pending;
    bool m_held = false;
    int m_artifacts = 0;
};

// Wraps every text object that lies outside tagged or artifact content in
// marked content of its own, numbered from firstMcid on.
class LooseTextToParagraphs : public Handle::TokenFilter
{
public:
    explicit LooseTextToParagraphs(int firstMcid) : next(firstMcid) {}

    void handleToken(QPDFTokenizer::Token const& token) override
    {
        const auto type = token.getType();
        if (type != QPDFTokenizer::tt_word) {
            if (type != QPDFTokenizer::tt_space && type != QPDFTokenizer::tt_comment)
                m_operands.push_back(token);
            writeToken(token);
            return;
        }
        const std::string& op = token.getValue();
        if (op == "BMC" || op == "BDC") {
            bool covered = false;
            for (const auto& operand : m_operands)
                covered = covered || (operand.getType() == QPDFTokenizer::tt_name &&
                                      (operand.getValue() == "/Artifact" || operand.getValue() == "/MCID"));
            m_stack.push_back(covered);
        } else if (op == "EMC") {
            if (!m_stack.empty())
                m_stack.pop_back();
        } else if (op == "BT" && !Covered()) {
            write("/P <</MCID " + std::to_string(next) + ">> BDC\n");
            wrapped.push_back(next++);
            m_inWrappedText = true;
        }
        writeToken(token);
        if (op == "ET" && m_inWrappedText) {
            write("\nEMC");
            m_inWrappedText = false;
        }
        m_operands.clear();
    }

    std::vector<int> wrapped;
    int next;

private:
    bool Covered() const
    {
        for (bool covered : m_stack)
            if (covered)
                return true;
        return false;
    }
    std::vector<QPDFTokenizer::Token> m_operands;
    std::vector<bool> m_stack;
    bool m_inWrappedText = false;
};

} // namespace

void TaggedPdfRepairs::DropDanglingContent(QPDF& pdf)
{
    Handle tree = pdf.getRoot().getKey("/StructTreeRoot");
    if (!tree.isDictionary())
        return;
    std::map<QPDFObjGen, std::set<int>> present; // page -> MCIDs in its content
    for (QPDFPageObjectHelper& page : QPDFPageDocumentHelper(pdf).getAllPages()) {
        ArtifactScan scan{Handle()};
        page.parseContents(&scan);
        present[page.getObjectHandle().getObjGen()] = scan.mcids;
    }
    for (Handle element : Elements(tree)) {
        Handle page = element.getKey("/Pg");
        std::vector<Handle> kept;
        bool dropped = false;
        for (Handle kid : Kids(element)) {
            Handle kidPage =
                kid.isDictionary() && kid.getKey("/Pg").isDictionary() ? kid.getKey("/Pg") : page;
            const bool content =
                kid.isInteger() || (kid.isDictionary() && kid.getKey("/Type").isNameAndEquals("/MCR"));
            if (content && kidPage.isDictionary() && present.count(kidPage.getObjGen()) != 0) {
                const long long mcid =
                    kid.isInteger() ? kid.getIntValue() : kid.getKey("/MCID").getIntValue();
                if (present[kidPage.getObjGen()].count(static_cast<int>(mcid)) == 0) {
                    dropped = true;
                    continue;
                }
            }
            kept.push_back(kid);
        }
        if (dropped)
            element.replaceKey("/K", Handle::newArray(kept));
    }
}

void TaggedPdfRepairs::TagLooseText(QPDF& pdf)
{
    Handle tree = pdf.getRoot().getKey("/StructTreeRoot");
    if (!tree.isDictionary())
        return;
    Handle top = tree.getKey("/K").isDictionary() ? tree.getKey("/K") : tree;
    std::unique_ptr<ParentTree> parents;
    for (QPDFPageObjectHelper& page : QPDFPageDocumentHelper(pdf).getAllPages()) {
        Handle pageObject = page.getObjectHandle();
        ArtifactScan scan{Handle()};
        page.parseContents(&scan);
        if (!parents)
            parents = std::make_unique<ParentTree>(pdf, tree);
        const bool hadParents = pageObject.getKey("/StructParents").isInteger();
        Handle existing;
        const int known = hadParents &&
                                  parents->helper->findObject(
                                      pageObject.getKey("/StructParents").getIntValue(), existing) &&
                                  existing.isArray()
                              ? existing.getArrayNItems() - 1
                              : -1;
        LooseTextToParagraphs filter(std::max(scan.maxMcid, known) + 1);
        Pl_Buffer discard("loose text count");
        page.filterContents(&filter, &discard);
        if (filter.wrapped.empty())
            continue;
        LooseTextToParagraphs rewrite(std::max(scan.maxMcid, known) + 1);
        FilterPage(pdf, page, rewrite);
        Handle array = PageParents(pdf, *parents, pageObject);
        for (int mcid : rewrite.wrapped) {
            Handle paragraph = pdf.makeIndirectObject(Handle::parse("<< /Type /StructElem /S /P >>"));
            paragraph.replaceKey("/P", top);
            paragraph.replaceKey("/Pg", pageObject);
            paragraph.replaceKey("/K", Handle::newInteger(mcid));
            AddKid(top, paragraph);
            SetParent(array, mcid, paragraph);
        }
    }
    if (parents)
        tree.replaceKey("/ParentTreeNextKey", Handle::newInteger(parents->next));
}

void TaggedPdfRepairs::NestWidgets(QPDF& pdf)
{
    Handle tree = pdf.getRoot().getKey("/StructTreeRoot");
    if (!tree.isDictionary())
        return;
    std::map<QPDFObjGen, std::vector<Handle>> forms; // page -> its Form elements without a field
    for (Handle element : Elements(tree)) {
        if (!element.getKey("/S").isNameAndEquals("/Form") || !element.getKey("/Pg").isDictionary())
            continue;
        bool hasObject = false;
        for (Handle kid : Kids(element))
            hasObject = hasObject || (kid.isDictionary() && kid.getKey("/Type").isNameAndEquals("/OBJR"));
        if (!hasObject)
            forms[element.getKey("/Pg").getObjGen()].push_back(element);
    }
    Handle top = tree.getKey("/K").isDictionary() ? tree.getKey("/K") : tree;
    std::unique_ptr<ParentTree> parents;
    for (QPDFPageObjectHelper& page : QPDFPageDocumentHelper(pdf).getAllPages()) {
        Handle pageObject = page.getObjectHandle();
        Handle annotations = pageObject.getKey("/Annots");
        if (!annotations.isArray() || annotations.getArrayNItems() == 0)
            continue;
        pageObject.replaceKey("/Tabs", Handle::newName("/S"));
        std::vector<Handle>& pageForms = forms[pageObject.getObjGen()];
        for (Handle annotation : annotations.getArrayAsVector()) {
            if (!annotation.isDictionary() || !annotation.getKey("/Subtype").isNameAndEquals("/Widget") ||
                annotation.getKey("/StructParent").isInteger())
                continue;
            if (!parents)
                parents = std::make_unique<ParentTree>(pdf, tree);
            Handle form;
            if (!pageForms.empty()) {
                form = pageForms.front();
                pageForms.erase(pageForms.begin());
            } else {
                form = pdf.makeIndirectObject(Handle::parse("<< /Type /StructElem /S /Form >>"));
                form.replaceKey("/P", top);
                form.replaceKey("/Pg", pageObject);
                AddKid(top, form);
            }
            Handle reference = Handle::parse("<< /Type /OBJR >>");
            reference.replaceKey("/Obj", annotation);
            reference.replaceKey("/Pg", pageObject);
            AddKid(form, reference);
            annotation.replaceKey("/StructParent", Handle::newInteger(parents->next));
            parents->helper->insert(parents->next, form);
            ++parents->next;
        }
    }
    if (parents)
        tree.replaceKey("/ParentTreeNextKey", Handle::newInteger(parents->next));
}

void TaggedPdfRepairs::TagArtifactPictures(QPDF& pdf)
{
    Handle tree = pdf.getRoot().getKey("/StructTreeRoot");
    if (!tree.isDictionary())
        return;
    std::map<QPDFObjGen, std::vector<Handle>> empty; // page -> its Figures without content
    for (Handle element : Elements(tree)) {
        if (element.getKey("/S").isNameAndEquals("/Figure") && Kids(element).empty() &&
            element.getKey("/Pg").isDictionary())
            empty[element.getKey("/Pg").getObjGen()].push_back(element);
    }
    if (empty.empty())
        return;
    std::unique_ptr<ParentTree> parents;
    for (QPDFPageObjectHelper& page : QPDFPageDocumentHelper(pdf).getAllPages()) {
        Handle pageObject = page.getObjectHandle();
        const std::vector<Handle>& figures = empty[pageObject.getObjGen()];
        if (figures.empty())
            continue;
        Handle resources = page.getAttribute("/Resources", false);
        ArtifactScan scan(resources.isDictionary() ? resources.getKey("/XObject") : Handle());
        page.parseContents(&scan);
        if (scan.pictures.size() != figures.size())
            continue; // which picture is which figure is not certain
        if (!parents)
            parents = std::make_unique<ParentTree>(pdf, tree);
        Handle array = PageParents(pdf, *parents, pageObject);
        // New ids follow every id the page or its parent tree knows.
        int mcid = std::max(scan.maxMcid, array.getArrayNItems() - 1);
        std::map<int, int> mcids;
        for (int artifact : scan.pictures)
            mcids[artifact] = ++mcid;
        ArtifactToFigure filter(mcids);
        FilterPage(pdf, page, filter);
        size_t index = 0;
        for (const auto& [artifact, id] : mcids) {
            Handle figure = figures[index++];
            figure.replaceKey("/K", Handle::newInteger(id));
            SetParent(array, id, figure);
        }
    }
    if (parents)
        tree.replaceKey("/ParentTreeNextKey", Handle::newInteger(parents->next));
}
