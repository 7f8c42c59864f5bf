#include "PdfUaChecker.h"

#include "pdf/PageResources.h"

#include <QFile>

#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFNumberTreeObjectHelper.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>

#include <exception>
#include <map>
#include <set>
#include <vector>

namespace {

using Handle = QPDFObjectHandle;

// Operators that put marks on the page.
const std::set<std::string> kPainting{"Tj", "TJ", "'",  "\"", "S",  "s",  "f",  "F",
                                      "f*", "B",  "B*", "b",  "b*", "Do", "sh", "EI"};

// The structure types of PDF 1.7 (ISO 32000-1, 14.8.4).
const std::set<std::string> kStandardTypes{
    "/Document", "/Part",    "/Art",   "/Sect",      "/Div",     "/BlockQuote", "/Caption",
    "/TOC",      "/TOCI",    "/Index", "/NonStruct", "/Private", "/P",          "/H",
    "/H1",       "/H2",      "/H3",    "/H4",        "/H5",      "/H6",         "/L",
    "/LI",       "/Lbl",     "/LBody", "/Table",     "/TR",      "/TH",         "/TD",
    "/THead",    "/TBody",   "/TFoot", "/Span",      "/Quote",   "/Note",       "/Reference",
    "/BibEntry", "/Code",    "/Link",  "/Annot",     "/Ruby",    "/RB",         "/RT",
    "/RP",       "/Warichu", "/WT",    "/WP",        "/Figure",  "/Formula",    "/Form"};

// Walks one page's content: every painting operator must lie inside a
// marked-content sequence with an MCID or inside an Artifact.
class ContentWalker : public Handle::ParserCallbacks
{
public:
    void handleObject(Handle object) override
    {
        if (!object.isOperator()) {
            operands.push_back(object);
            return;
        }
        const std::string op = object.getOperatorValue();
        if (op == "BMC" || op == "BDC") {
            Level level{false, -1};
            if (!operands.empty() && operands.front().isName())
                level.artifact = operands.front().getName() == "/Artifact";
            if (op == "BDC" && operands.size() >= 2 && operands[1].isDictionary() &&
                operands[1].getKey("/MCID").isInteger())
                level.mcid = static_cast<int>(operands[1].getKey("/MCID").getIntValue());
            stack.push_back(level);
            if (level.mcid >= 0 && !mcids.insert(level.mcid).second)
                duplicates.insert(level.mcid);
        } else if (op == "EMC") {
            if (stack.empty())
                ++unbalanced;
            else
                stack.pop_back();
        } else if (kPainting.count(op) != 0 && !Covered()) {
            ++untagged;
            if (untaggedOperators.size() < 5)
                untaggedOperators.insert(op);
        }
        operands.clear();
    }
    void handleEOF() override { unbalanced += static_cast<int>(stack.size()); }

    bool Covered() const
    {
        for (const Level& level : stack)
            if (level.artifact || level.mcid >= 0)
                return true;
        return false;
    }

    struct Level
    {
        bool artifact;
        int mcid;
    };
    std::vector<Handle> operands;
    std::vector<Level> stack;
    std::set<int> mcids;
    std::set<int> duplicates;
    std::set<std::string> untaggedOperators;
    int untagged = 0;
    int unbalanced = 0;
};

QString Utf8(Handle text)
{
    return text.isString() ? QString::fromStdString(text.getUTF8Value()) : QString();
}

QString Number(Handle object)
{
    return object.isIndirect() ? QStringLiteral("%1 0 R").arg(object.getObjectID())
                               : QStringLiteral("a direct object");
}

class Checker
{
public:
    Checker(QPDF& pdf) : m_pdf(pdf), m_root(pdf.getRoot()) {}

    QStringList Run()
    {
        Catalog();
        Handle tree = m_root.getKey("/StructTreeRoot");
        if (!tree.isDictionary()) {
            m_faults << QStringLiteral("no structure tree");
            return m_faults;
        }
        m_roles = tree.getKey("/RoleMap");
        RoleMap();
        Walk(tree.getKey("/K"), tree, 0);
        Pages(tree);
        Fonts();
        return m_faults;
    }

private:
    void Catalog()
    {
        if (!m_root.getKey("/MarkInfo").isDictionary() ||
            !m_root.getKey("/MarkInfo").getKey("/Marked").isBool() ||
            !m_root.getKey("/MarkInfo").getKey("/Marked").getBoolValue())
            m_faults << QStringLiteral("the catalog's MarkInfo does not say Marked");
        if (Utf8(m_root.getKey("/Lang")).trimmed().isEmpty())
            m_faults << QStringLiteral("no document language (catalog /Lang)");
        Handle preferences = m_root.getKey("/ViewerPreferences");
        if (!preferences.isDictionary() || !preferences.getKey("/DisplayDocTitle").isBool() ||
            !preferences.getKey("/DisplayDocTitle").getBoolValue())
            m_faults << QStringLiteral("the viewer is not told to show the title (DisplayDocTitle)");
        Handle metadata = m_root.getKey("/Metadata");
        QString xmp;
        if (metadata.isStream()) {
            const std::shared_ptr<Buffer> data = metadata.getStreamData(qpdf_dl_all);
            xmp = QString::fromUtf8(reinterpret_cast<const char*>(data->getBuffer()),
                                    static_cast<qsizetype>(data->getSize()));
        }
        if (!xmp.contains(QLatin1String("<pdfuaid:part>1</pdfuaid:part>")) &&
            !xmp.contains(QLatin1String("pdfuaid:part=\"1\"")))
            m_faults << QStringLiteral("no PDF/UA identification (pdfuaid:part 1) in the XMP metadata");
        if (!xmp.contains(QLatin1String("<dc:title>")))
            m_faults << QStringLiteral("no dc:title in the XMP metadata");
        if (Utf8(m_pdf.getTrailer().getKey("/Info").getKey("/Title")).trimmed().isEmpty() &&
            m_pdf.getTrailer().getKey("/Info").isDictionary())
            m_faults << QStringLiteral("no title in the document information");
        if (m_pdf.isEncrypted() && !m_pdf.allowAccessibility())
            m_faults << QStringLiteral("encrypted without the right to extract for accessibility");
    }

    // The role map may not redefine a standard type.
    void RoleMap()
    {
        if (!m_roles.isDictionary())
            return;
        for (const auto& [type, role] : m_roles.getDictAsMap())
            if (kStandardTypes.count(type) != 0)
                m_faults << QStringLiteral("the role map redefines the standard type %1")
                                .arg(QString::fromStdString(type));
    }

    std::string StandardType(Handle element)
    {
        std::string type = element.getKey("/S").isName() ? element.getKey("/S").getName() : std::string();
        for (int i = 0; i < 10 && m_roles.isDictionary() && m_roles.getKey(type).isName(); ++i)
            type = m_roles.getKey(type).getName();
        return type;
    }

    // Collects the marked content each element claims, per page.
    void Walk(Handle kids, Handle parent, int depth)
    {
        if (depth > 200) {
            m_faults << QStringLiteral("the structure tree is deeper than 200 levels");
            return;
        }
        const std::vector<Handle> items =
            kids.isArray() ? kids.getArrayAsVector() : std::vector<Handle>{kids};
        for (Handle kid : items) {
            if (kid.isInteger()) {
                Handle page = parent.getKey("/Pg");
                if (!page.isDictionary())
                    m_faults << QStringLiteral("element %1 claims MCID %2 without a page")
                                    .arg(Number(parent))
                                    .arg(kid.getIntValue());
                else
                    m_claims[page.getObjGen()][static_cast<int>(kid.getIntValue())] = parent.getObjGen();
                continue;
            }
            if (!kid.isDictionary())
                continue;
            if (kid.getKey("/Type").isNameAndEquals("/MCR")) {
                Handle page = kid.getKey("/Pg").isDictionary() ? kid.getKey("/Pg") : parent.getKey("/Pg");
                if (page.isDictionary() && kid.getKey("/MCID").isInteger())
                    m_claims[page.getObjGen()][static_cast<int>(kid.getKey("/MCID").getIntValue())] =
                        parent.getObjGen();
                continue;
            }
            if (kid.getKey("/Type").isNameAndEquals("/OBJR")) {
                m_objectOwners[kid.getKey("/Obj").getObjGen()] = parent.getObjGen();
                continue;
            }
            if (!m_visited.insert(kid.getObjGen()).second && kid.isIndirect()) {
                m_faults << QStringLiteral("element %1 appears twice in the structure tree").arg(Number(kid));
                continue;
            }
            const std::string type = StandardType(kid);
            if (kStandardTypes.count(type) == 0)
                m_faults << QStringLiteral("element %1 has the type %2, neither standard nor mapped to one")
                                .arg(Number(kid))
                                .arg(QString::fromStdString(type));
            if (type == "/Figure" && Utf8(kid.getKey("/Alt")).trimmed().isEmpty() &&
                Utf8(kid.getKey("/ActualText")).trimmed().isEmpty())
                m_faults << QStringLiteral("figure %1 has no alternate text").arg(Number(kid));
            Walk(kid.getKey("/K"), kid, depth + 1);
        }
    }

    void Pages(Handle tree)
    {
        QPDFNumberTreeObjectHelper parents(tree.getKey("/ParentTree"), m_pdf);
        int pageNumber = 0;
        for (QPDFPageObjectHelper& page : QPDFPageDocumentHelper(m_pdf).getAllPages()) {
            ++pageNumber;
            Handle object = page.getObjectHandle();
            ContentWalker walker;
            try {
                page.parseContents(&walker);
            } catch (const std::exception& e) {
                m_faults << QStringLiteral("page %1: its content cannot be read: %2")
                                .arg(pageNumber)
                                .arg(e.what());
                continue;
            }
            if (walker.untagged > 0) {
                QStringList ops;
                for (const std::string& op : walker.untaggedOperators)
                    ops << QString::fromStdString(op);
                m_faults << QStringLiteral("page %1: %2 painting operators (%3) neither tagged nor artifact")
                                .arg(pageNumber)
                                .arg(walker.untagged)
                                .arg(ops.join(QLatin1Char(' ')));
            }
            if (walker.unbalanced > 0)
                m_faults << QStringLiteral("page %1: unbalanced marked content").arg(pageNumber);
            for (int mcid : walker.duplicates)
                m_faults << QStringLiteral("page %1: MCID %2 used twice").arg(pageNumber).arg(mcid);

            const auto& claims = m_claims[object.getObjGen()];
            Handle array;
            if (!walker.mcids.empty()) {
                if (!object.getKey("/StructParents").isInteger() ||
                    !parents.findObject(object.getKey("/StructParents").getIntValue(), array) ||
                    !array.isArray()) {
                    m_faults
                        << QStringLiteral("page %1: marked content but no parent tree entry").arg(pageNumber);
                    array = Handle::newArray();
                }
            }
            for (int mcid : walker.mcids) {
                const auto claim = claims.find(mcid);
                if (claim == claims.end()) {
                    m_faults
                        << QStringLiteral("page %1: MCID %2 belongs to no element").arg(pageNumber).arg(mcid);
                    continue;
                }
                Handle entry = mcid < array.getArrayNItems() ? array.getArrayItem(mcid) : Handle::newNull();
                if (!entry.isDictionary() || entry.getObjGen() != claim->second)
                    m_faults << QStringLiteral("page %1: the parent tree names another element for MCID %2")
                                    .arg(pageNumber)
                                    .arg(mcid);
            }
            for (const auto& [mcid, element] : claims) {
                if (walker.mcids.count(mcid) == 0)
                    m_faults << QStringLiteral("page %1: an element claims MCID %2, which the page lacks")
                                    .arg(pageNumber)
                                    .arg(mcid);
            }
            for (Handle annotation : object.getKey("/Annots").isArray()
                                         ? object.getKey("/Annots").getArrayAsVector()
                                         : std::vector<Handle>{}) {
                if (!annotation.isDictionary() || annotation.getKey("/Subtype").isNameAndEquals("/Popup"))
                    continue;
                Handle owner;
                if (!annotation.getKey("/StructParent").isInteger() ||
                    !parents.findObject(annotation.getKey("/StructParent").getIntValue(), owner) ||
                    !owner.isDictionary() || m_objectOwners.count(annotation.getObjGen()) == 0 ||
                    m_objectOwners[annotation.getObjGen()] != owner.getObjGen())
                    m_faults << QStringLiteral("page %1: annotation %2 (%3) is not in the structure")
                                    .arg(pageNumber)
                                    .arg(Number(annotation))
                                    .arg(QString::fromStdString(annotation.getKey("/Subtype").isName()
                                                                    ? annotation.getKey("/Subtype").getName()
                                                                    : std::string()));
            }
        }
    }

    void Font(Handle font, std::set<QPDFObjGen>& seen)
    {
        if (!font.isDictionary() || (font.isIndirect() && !seen.insert(font.getObjGen()).second))
            return;
        if (font.getKey("/Subtype").isNameAndEquals("/Type3"))
            return;
        Handle described = font;
        if (font.getKey("/Subtype").isNameAndEquals("/Type0") && font.getKey("/DescendantFonts").isArray())
            described = font.getKey("/DescendantFonts").getArrayItem(0);
        Handle descriptor = described.getKey("/FontDescriptor");
        if (!descriptor.isDictionary() ||
            (!descriptor.getKey("/FontFile").isStream() && !descriptor.getKey("/FontFile2").isStream() &&
             !descriptor.getKey("/FontFile3").isStream()))
            m_faults << QStringLiteral("font %1 (%2) is not embedded")
                            .arg(Number(font))
                            .arg(QString::fromStdString(font.getKey("/BaseFont").isName()
                                                            ? font.getKey("/BaseFont").getName()
                                                            : std::string()));
    }

    // Fonts of every page and of the forms they draw, annotations' appearances included.
    void Resources(Handle resources, std::set<QPDFObjGen>& seen, int depth)
    {
        if (!resources.isDictionary() || depth > 20)
            return;
        Handle fonts = resources.getKey("/Font");
        if (fonts.isDictionary())
            for (auto [name, font] : fonts.getDictAsMap())
                Font(font, seen);
        Handle objects = resources.getKey("/XObject");
        if (objects.isDictionary())
            for (auto [name, object] : objects.getDictAsMap())
                if (object.isStream() && object.getDict().getKey("/Subtype").isNameAndEquals("/Form") &&
                    (!object.isIndirect() || seen.insert(object.getObjGen()).second))
                    Resources(object.getDict().getKey("/Resources"), seen, depth + 1);
    }

    void Fonts()
    {
        std::set<QPDFObjGen> seen;
        for (QPDFPageObjectHelper& page : QPDFPageDocumentHelper(m_pdf).getAllPages())
            for (Handle resources : PageResources::Of(page))
                Resources(resources, seen, 0);
    }

    QPDF& m_pdf;
    Handle m_root;
    Handle m_roles;
    QStringList m_faults;
    std::map<QPDFObjGen, std::map<int, QPDFObjGen>> m_claims; // page -> MCID -> element
    std::map<QPDFObjGen, QPDFObjGen> m_objectOwners;          // annotation -> element
    std::set<QPDFObjGen> m_visited;
};

} // namespace

QStringList PdfUaChecker::Check(const QString& pdfPath, const QString& password)
{
    try {
        QPDF pdf;
        pdf.setSuppressWarnings(true);
        const QByteArray bytes = password.toUtf8();
        pdf.processFile(QFile::encodeName(pdfPath).constData(),
                        password.isEmpty() ? nullptr : bytes.constData());
        return Checker(pdf).Run();
    } catch (const std::exception& e) {
        return {QStringLiteral("%1 cannot be read: %2").arg(pdfPath, QString::fromLocal8Bit(e.what()))};
    }
}
