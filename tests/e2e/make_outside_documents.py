#!/usr/bin/python3
"""Makes documents that point outside themselves, written by hand so every
link is exactly as a stranger's document could carry it.

usage: make_outside_documents.py FOLDER PORT

Beside the documents it plants files of the user's own, each with a text of
its own (PLANTED_TEXT plus the file's name) and a picture of PLANTED_COLOUR,
PLANTED_SIZE pixels: page.html, flat.fodt, zipped.odt, word.docx, book.xlsx,
flatbook.fods and slides.pptx then link to them by absolute and relative paths,
to http://127.0.0.1:PORT/ (a listener the caller counts requests on) by
pictures, stylesheets, frames, sections, fields, DDE, OLE links, external
references and WEBSERVICE. Each document shows its own text OWN_TEXT plus its
name without the dot, and a hyperlink to http://127.0.0.1:PORT/shown-<name> that must stay a
link in the PDF.
"""
import os
import struct
import sys
import zipfile
import zlib
from xml.sax.saxutils import escape, quoteattr

PLANTED_TEXT = "plantedsecret"
PLANTED_COLOUR = (13, 177, 91)
PLANTED_SIZE = (97, 53)
OWN_TEXT = "owntext"


def png(width, height, colour):
    row = b"\0" + bytes(colour) * width
    raw = zlib.compress(row * height)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", raw) + chunk(b"IEND", b""))


def write(path, data):
    with open(path, "wb") as f:
        f.write(data.encode("utf-8") if isinstance(data, str) else data)


def write_zip(path, parts):
    with zipfile.ZipFile(path, "w") as z:
        for name, data in parts:
            # ODF wants its mimetype first and stored.
            method = zipfile.ZIP_STORED if name == "mimetype" else zipfile.ZIP_DEFLATED
            z.writestr(zipfile.ZipInfo(name), data, compress_type=method)


NS = {
    "office": "urn:oasis:names:tc:opendocument:xmlns:office:1.0",
    "style": "urn:oasis:names:tc:opendocument:xmlns:style:1.0",
    "text": "urn:oasis:names:tc:opendocument:xmlns:text:1.0",
    "table": "urn:oasis:names:tc:opendocument:xmlns:table:1.0",
    "draw": "urn:oasis:names:tc:opendocument:xmlns:drawing:1.0",
    "fo": "urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0",
    "xlink": "http://www.w3.org/1999/xlink",
    "svg": "urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0",
    "of": "urn:oasis:names:tc:opendocument:xmlns:of:1.2",
    "table": "urn:oasis:names:tc:opendocument:xmlns:table:1.0",
}
NS_DECL = " ".join('xmlns:%s="%s"' % item for item in NS.items())


def odf_frame(name, href, element="image"):
    return ('<draw:frame draw:name="%s" text:anchor-type="as-char" svg:width="3cm" svg:height="2cm">'
            '<draw:%s xlink:href=%s xlink:type="simple" xlink:show="embed" xlink:actuate="onLoad"/>'
            '</draw:frame>' % (name, element, quoteattr(href)))


def odf_text_body(name, folder, url):
    planted = os.path.join(folder, "planted")
    return (
        '<office:text>'
        '<text:dde-connection-decls><text:dde-connection-decl office:name="mine" office:dde-application="soffice"'
        ' office:dde-topic=%s office:dde-item="Sheet1.A1" office:automatic-update="true"/>'
        '</text:dde-connection-decls>'
        '<text:p>%s%s</text:p>'
        '<text:p><text:a xlink:type="simple" xlink:href="%sshown-%s">Shown link</text:a></text:p>'
        '<text:p>%s %s %s</text:p>'
        '<text:p>%s %s</text:p>'
        '<text:section text:name="linked"><text:section-source xlink:href=%s xlink:type="simple"/>'
        '<text:p>placeholder of the linked section</text:p></text:section>'
        '<text:section text:name="remote"><text:section-source xlink:href="%ssection-%s.html" xlink:type="simple"/>'
        '<text:p>placeholder of the remote section</text:p></text:section>'
        '<text:p>DDE: <text:dde-connection text:connection-name="mine">cached dde</text:dde-connection></text:p>'
        '</office:text>'
        % (quoteattr(planted + ".fods"), OWN_TEXT, name, url, name,
           odf_frame("remote", url + "picture-" + name + ".png"),
           odf_frame("local", "file://" + planted + ".png"),
           odf_frame("relative", "../planted.png"),
           odf_frame("ole", "file://" + planted + ".fods", "object"),
           odf_frame("oleremote", url + "object-" + name + ".ods", "object"),
           quoteattr("file://" + planted + ".html"), url, name))


def flat_odf(kind, body):
    return ('<?xml version="1.0" encoding="UTF-8"?>\n<office:document %s office:version="1.3"'
            ' office:mimetype="application/vnd.oasis.opendocument.%s"><office:body>%s</office:body>'
            '</office:document>' % (NS_DECL, kind, body))


def zipped_odf(path, kind, body):
    mimetype = "application/vnd.oasis.opendocument." + kind
    content = ('<?xml version="1.0" encoding="UTF-8"?>\n<office:document-content %s office:version="1.3">'
               '<office:body>%s</office:body></office:document-content>' % (NS_DECL, body))
    manifest = ('<?xml version="1.0" encoding="UTF-8"?>\n<manifest:manifest'
                ' xmlns:manifest="urn:oasis:names:tc:opendocument:xmlns:manifest:1.0" manifest:version="1.3">'
                '<manifest:file-entry manifest:full-path="/" manifest:media-type="%s"/>'
                '<manifest:file-entry manifest:full-path="content.xml" manifest:media-type="text/xml"/>'
                '</manifest:manifest>' % mimetype)
    write_zip(path, [("mimetype", mimetype), ("META-INF/manifest.xml", manifest), ("content.xml", content)])


def ods_cell(formula, cached):
    return ('<table:table-cell table:formula=%s office:value-type="string" office:string-value=%s>'
            '<text:p>%s</text:p></table:table-cell>' % (quoteattr(formula), quoteattr(cached), escape(cached)))


def ods_body(folder, url):
    planted = os.path.join(folder, "planted.fods")
    rows = [
        '<table:table-cell office:value-type="string"><text:p>%sflatbookfods</text:p></table:table-cell>' % OWN_TEXT,
        '<table:table-cell office:value-type="string"><text:p><text:a xlink:type="simple"'
        ' xlink:href="%sshown-flatbookfods">Shown link</text:a></text:p></table:table-cell>' % url,
        ods_cell('of:=WEBSERVICE("%swebservice-fods")' % url, "cached web"),
        ods_cell("of:='file://%s'#$Sheet1.A1" % planted, "cached outside"),
        ods_cell('of:=DDE("soffice";"%s";"Sheet1.A1")' % planted, "cached dde"),
        ('<table:table-cell office:value-type="string"><table:cell-range-source table:name="Sheet1.A1:A2"'
         ' xlink:href=%s xlink:type="simple" table:filter-name="calc8" table:last-column-spanned="1"'
         ' table:last-row-spanned="2" table:refresh-delay="PT00H00M01S"/><text:p>cached area</text:p>'
         '</table:table-cell>' % quoteattr("file://" + planted)),
    ]
    sheet = "".join("<table:table-row>%s</table:table-row>" % cell for cell in rows)
    linked = ('<table:table table:name="Linked"><table:table-source table:mode="copy-all" xlink:type="simple"'
              ' xlink:href=%s table:filter-name="calc8" table:table-name="Sheet1"/>'
              '<table:table-row><table:table-cell office:value-type="string"><text:p>cached linked sheet</text:p>'
              '</table:table-cell></table:table-row></table:table>' % quoteattr("file://" + planted))
    return '<office:spreadsheet><table:table table:name="Own">%s</table:table>%s</office:spreadsheet>' % (sheet, linked)


def planted_files(folder):
    write(os.path.join(folder, "planted.png"), png(PLANTED_SIZE[0], PLANTED_SIZE[1], PLANTED_COLOUR))
    write(os.path.join(folder, "planted.txt"), PLANTED_TEXT + "txt\n")
    write(os.path.join(folder, "planted.html"),
          "<html><body><p>%shtml</p><img src=\"planted.png\"></body></html>" % PLANTED_TEXT)
    write(os.path.join(folder, "planted.css"), "body { background: rgb%s; }" % (PLANTED_COLOUR,))
    write(os.path.join(folder, "planted.fods"), flat_odf(
        "spreadsheet", '<office:spreadsheet><table:table table:name="Sheet1"><table:table-row>'
        '<table:table-cell office:value-type="string"><text:p>%sfods</text:p></table:table-cell>'
        '</table:table-row><table:table-row><table:table-cell office:value-type="string">'
        '<text:p>%sfodsrow</text:p></table:table-cell></table:table-row></table:table></office:spreadsheet>'
        % (PLANTED_TEXT, PLANTED_TEXT)))


def html_page(folder, url):
    planted = "file://" + os.path.join(folder, "planted")
    return ('<!DOCTYPE html><html><head><title>page</title>'
            '<link rel="stylesheet" href="%sstyle.css"><link rel="stylesheet" href="%s.css">'
            '<link rel="stylesheet" href="planted.css"></head>'
            '<body background="%sbackground.png"><p>%spagehtml</p>'
            '<p><a href="%sshown-pagehtml">Shown link</a></p>'
            '<p><img src="%spicture.png" width="60" height="40"> <img src="%s.png" width="60" height="40">'
            ' <img src="planted.png" width="60" height="40"></p>'
            '<iframe src="%sframe.html" width="200" height="80"></iframe>'
            '<iframe src="%s.html" width="200" height="80"></iframe>'
            '<iframe src="planted.txt" width="200" height="80"></iframe>'
            '<object data="%sobject.html" type="text/html" width="200" height="80"></object>'
            '</body></html>' % (url, planted, url, OWN_TEXT, url, url, planted, url, planted, url))


def rels(entries):
    return ('<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
            '<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">%s'
            '</Relationships>' % "".join(
                '<Relationship Id="%s" Type="http://schemas.openxmlformats.org/%s" Target=%s%s/>'
                % (rid, kind, quoteattr(target), ' TargetMode="External"' if external else "")
                for rid, kind, target, external in entries))


OFFICE_REL = "officeDocument/2006/relationships/"
CT_HEAD = ('<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
           '<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">'
           '<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>'
           '<Default Extension="xml" ContentType="application/xml"/>')
DML = ('xmlns:a="http://schemas.openxmlformats.org/drawingml/2006/main" '
       'xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"')


def docx_picture(number, rid):
    return ('<w:r><w:drawing><wp:inline><wp:extent cx="1080000" cy="720000"/><wp:docPr id="%d" name="Picture %d"/>'
            '<a:graphic><a:graphicData uri="http://schemas.openxmlformats.org/drawingml/2006/picture">'
            '<pic:pic><pic:nvPicPr><pic:cNvPr id="%d" name="linked.png"/><pic:cNvPicPr/></pic:nvPicPr>'
            '<pic:blipFill><a:blip r:link="%s"/><a:stretch><a:fillRect/></a:stretch></pic:blipFill>'
            '<pic:spPr><a:xfrm><a:off x="0" y="0"/><a:ext cx="1080000" cy="720000"/></a:xfrm>'
            '<a:prstGeom prst="rect"><a:avLst/></a:prstGeom></pic:spPr></pic:pic></a:graphicData></a:graphic>'
            '</wp:inline></w:drawing></w:r>' % (number, number, number, rid))


def docx_field(instruction, cached):
    return ('<w:p><w:r><w:fldChar w:fldCharType="begin"/></w:r><w:r><w:instrText xml:space="preserve"> %s '
            '</w:instrText></w:r><w:r><w:fldChar w:fldCharType="separate"/></w:r><w:r><w:t>%s</w:t></w:r>'
            '<w:r><w:fldChar w:fldCharType="end"/></w:r></w:p>' % (escape(instruction), escape(cached)))


def docx(path, folder, url):
    planted = os.path.join(folder, "planted")
    body = ('<w:p><w:r><w:t>%sworddocx</w:t></w:r></w:p>'
            '<w:p><w:hyperlink r:id="rIdShown"><w:r><w:t>Shown link</w:t></w:r></w:hyperlink></w:p>'
            '<w:p>%s%s</w:p>' % (OWN_TEXT, docx_picture(1, "rIdLocal"), docx_picture(2, "rIdRemote"))
            + docx_field('INCLUDETEXT "%s.txt"' % planted, "cached include")
            + docx_field('INCLUDETEXT "%sinclude.txt"' % url, "cached remote include")
            + docx_field('INCLUDEPICTURE "%s.png" \\d' % planted, "cached picture")
            + docx_field('INCLUDEPICTURE "%sfield.png"' % url, "cached remote picture")
            + docx_field('DDEAUTO soffice "%s.fods" "Sheet1.A1"' % planted, "cached dde")
            + docx_field('LINK soffice "%s.fods" "Sheet1.A1"' % planted, "cached link"))
    document = ('<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
                '<w:document xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main" '
                'xmlns:wp="http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing" '
                'xmlns:pic="http://schemas.openxmlformats.org/drawingml/2006/picture" %s>'
                '<w:body>%s<w:sectPr/></w:body></w:document>' % (DML, body))
    types = (CT_HEAD + '<Override PartName="/word/document.xml" ContentType="application/'
             'vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml"/></Types>')
    write_zip(path, [
        ("[Content_Types].xml", types),
        ("_rels/.rels", rels([("rId1", OFFICE_REL + "officeDocument", "word/document.xml", False)])),
        ("word/document.xml", document),
        ("word/_rels/document.xml.rels", rels([
            ("rIdLocal", OFFICE_REL + "image", "file://" + planted + ".png", True),
            ("rIdRemote", OFFICE_REL + "image", url + "picture-docx.png", True),
            ("rIdShown", OFFICE_REL + "hyperlink", url + "shown-worddocx", True)])),
    ])


def xlsx(path, folder, url):
    planted = os.path.join(folder, "planted.fods")
    main = 'xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"'
    rel = 'xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"'
    sheet = ('<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n<worksheet %s %s><sheetData>'
             '<row r="1"><c r="A1" t="inlineStr"><is><t>%sbookxlsx</t></is></c></row>'
             '<row r="2"><c r="A2" t="inlineStr"><is><t>Shown link</t></is></c></row>'
             '<row r="3"><c r="A3" t="str"><f>_xlfn.WEBSERVICE("%swebservice-xlsx")</f><v>cached web</v></c></row>'
             '<row r="4"><c r="A4" t="str"><f>[1]Sheet1!A1</f><v>cached outside</v></c></row>'
             '</sheetData><hyperlinks><hyperlink ref="A2" r:id="rIdShown"/></hyperlinks></worksheet>'
             % (main, rel, OWN_TEXT, url))
    workbook = ('<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n<workbook %s %s><sheets>'
                '<sheet name="Own" sheetId="1" r:id="rIdSheet"/></sheets><externalReferences>'
                '<externalReference r:id="rIdLink"/></externalReferences></workbook>' % (main, rel))
    link = ('<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n<externalLink %s %s>'
            '<externalBook r:id="rIdBook"><sheetNames><sheetName val="Sheet1"/></sheetNames><sheetDataSet>'
            '<sheetData sheetId="0"><row r="1"><cell r="A1" t="str"><v>cached outside</v></cell></row>'
            '</sheetData></sheetDataSet></externalBook></externalLink>' % (main, rel))
    kinds = "application/vnd.openxmlformats-officedocument.spreadsheetml."
    types = (CT_HEAD + '<Override PartName="/xl/workbook.xml" ContentType="%ssheet.main+xml"/>'
             '<Override PartName="/xl/worksheets/sheet1.xml" ContentType="%sworksheet+xml"/>'
             '<Override PartName="/xl/externalLinks/externalLink1.xml" ContentType="%sexternalLink+xml"/>'
             '</Types>' % (kinds, kinds, kinds))
    write_zip(path, [
        ("[Content_Types].xml", types),
        ("_rels/.rels", rels([("rId1", OFFICE_REL + "officeDocument", "xl/workbook.xml", False)])),
        ("xl/workbook.xml", workbook),
        ("xl/_rels/workbook.xml.rels", rels([
            ("rIdSheet", OFFICE_REL + "worksheet", "worksheets/sheet1.xml", False),
            ("rIdLink", OFFICE_REL + "externalLink", "externalLinks/externalLink1.xml", False)])),
        ("xl/worksheets/sheet1.xml", sheet),
        ("xl/worksheets/_rels/sheet1.xml.rels", rels([
            ("rIdShown", OFFICE_REL + "hyperlink", url + "shown-bookxlsx", True)])),
        ("xl/externalLinks/externalLink1.xml", link),
        ("xl/externalLinks/_rels/externalLink1.xml.rels", rels([
            ("rIdBook", OFFICE_REL + "externalLinkPath", "file://" + planted, True)])),
    ])


def pptx_picture(number, rid, x):
    return ('<p:pic><p:nvPicPr><p:cNvPr id="%d" name="Picture %d"/><p:cNvPicPr/><p:nvPr/></p:nvPicPr>'
            '<p:blipFill><a:blip r:link="%s"/><a:stretch><a:fillRect/></a:stretch></p:blipFill>'
            '<p:spPr><a:xfrm><a:off x="%d" y="2000000"/><a:ext cx="2000000" cy="1200000"/></a:xfrm>'
            '<a:prstGeom prst="rect"><a:avLst/></a:prstGeom></p:spPr></p:pic>' % (number, number, rid, x))


def pptx(path, folder, url):
    planted = os.path.join(folder, "planted")
    pml = 'xmlns:p="http://schemas.openxmlformats.org/presentationml/2006/main" ' + DML
    tree = ('<p:cSld><p:spTree><p:nvGrpSpPr><p:cNvPr id="1" name=""/><p:cNvGrpSpPr/><p:nvPr/></p:nvGrpSpPr>'
            '<p:grpSpPr/>%s</p:spTree></p:cSld>')
    text_box = ('<p:sp><p:nvSpPr><p:cNvPr id="2" name="Text"/><p:cNvSpPr txBox="1"/><p:nvPr/></p:nvSpPr>'
                '<p:spPr><a:xfrm><a:off x="500000" y="500000"/><a:ext cx="6000000" cy="1000000"/></a:xfrm>'
                '<a:prstGeom prst="rect"><a:avLst/></a:prstGeom></p:spPr><p:txBody><a:bodyPr/><a:p>'
                '<a:r><a:t>%sslidespptx </a:t></a:r><a:r><a:rPr><a:hlinkClick r:id="rIdShown"/></a:rPr>'
                '<a:t>Shown link</a:t></a:r></a:p></p:txBody></p:sp>' % OWN_TEXT)
    slide = ('<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n<p:sld %s>%s</p:sld>'
             % (pml, tree % (text_box + pptx_picture(3, "rIdLocal", 500000) + pptx_picture(4, "rIdRemote", 3000000))))
    layout = ('<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n<p:sldLayout %s>%s</p:sldLayout>'
              % (pml, tree % ""))
    master = ('<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n<p:sldMaster %s>%s'
              '<p:clrMap bg1="lt1" tx1="dk1" bg2="lt2" tx2="dk2" accent1="accent1" accent2="accent2"'
              ' accent3="accent3" accent4="accent4" accent5="accent5" accent6="accent6" hlink="hlink"'
              ' folHlink="folHlink"/><p:sldLayoutIdLst><p:sldLayoutId id="2147483649" r:id="rId1"/>'
              '</p:sldLayoutIdLst></p:sldMaster>' % (pml, tree % ""))
    colours = "".join('<a:%s><a:srgbClr val="%s"/></a:%s>' % (n, v, n) for n, v in (
        ("dk1", "000000"), ("lt1", "FFFFFF"), ("dk2", "1F497D"), ("lt2", "EEECE1"), ("accent1", "4F81BD"),
        ("accent2", "C0504D"), ("accent3", "9BBB59"), ("accent4", "8064A2"), ("accent5", "4BACC6"),
        ("accent6", "F79646"), ("hlink", "0000FF"), ("folHlink", "800080")))
    font = '<a:latin typeface="Liberation Sans"/><a:ea typeface=""/><a:cs typeface=""/>'
    fill = '<a:solidFill><a:schemeClr val="phClr"/></a:solidFill>'
    line = '<a:ln w="9525"><a:solidFill><a:schemeClr val="phClr"/></a:solidFill></a:ln>'
    theme = ('<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n<a:theme %s name="Plain"><a:themeElements>'
             '<a:clrScheme name="Plain">%s</a:clrScheme><a:fontScheme name="Plain"><a:majorFont>%s</a:majorFont>'
             '<a:minorFont>%s</a:minorFont></a:fontScheme><a:fmtScheme name="Plain"><a:fillStyleLst>%s</a:fillStyleLst>'
             '<a:lnStyleLst>%s</a:lnStyleLst><a:effectStyleLst>%s</a:effectStyleLst><a:bgFillStyleLst>%s'
             '</a:bgFillStyleLst></a:fmtScheme></a:themeElements></a:theme>'
             % (DML, colours, font, font, fill * 3, line * 3, "<a:effectStyle><a:effectLst/></a:effectStyle>" * 3,
                fill * 3))
    presentation = ('<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n<p:presentation %s>'
                    '<p:sldMasterIdLst><p:sldMasterId id="2147483648" r:id="rIdMaster"/></p:sldMasterIdLst>'
                    '<p:sldIdLst><p:sldId id="256" r:id="rIdSlide"/></p:sldIdLst>'
                    '<p:sldSz cx="9144000" cy="6858000"/><p:notesSz cx="6858000" cy="9144000"/></p:presentation>'
                    % pml)
    kinds = "application/vnd.openxmlformats-officedocument."
    types = (CT_HEAD + ''.join('<Override PartName="/ppt/%s" ContentType="%s%s+xml"/>' % (part, kinds, kind) for part, kind in (
        ("presentation.xml", "presentationml.presentation.main"), ("slides/slide1.xml", "presentationml.slide"),
        ("slideLayouts/slideLayout1.xml", "presentationml.slideLayout"),
        ("slideMasters/slideMaster1.xml", "presentationml.slideMaster"), ("theme/theme1.xml", "theme")))
        + '</Types>')
    write_zip(path, [
        ("[Content_Types].xml", types),
        ("_rels/.rels", rels([("rId1", OFFICE_REL + "officeDocument", "ppt/presentation.xml", False)])),
        ("ppt/presentation.xml", presentation),
        ("ppt/_rels/presentation.xml.rels", rels([
            ("rIdMaster", OFFICE_REL + "slideMaster", "slideMasters/slideMaster1.xml", False),
            ("rIdSlide", OFFICE_REL + "slide", "slides/slide1.xml", False),
            ("rIdTheme", OFFICE_REL + "theme", "theme/theme1.xml", False)])),
        ("ppt/slides/slide1.xml", slide),
        ("ppt/slides/_rels/slide1.xml.rels", rels([
            ("rId1", OFFICE_REL + "slideLayout", "../slideLayouts/slideLayout1.xml", False),
            ("rIdLocal", OFFICE_REL + "image", "file://" + planted + ".png", True),
            ("rIdRemote", OFFICE_REL + "image", url + "picture-pptx.png", True),
            ("rIdShown", OFFICE_REL + "hyperlink", url + "shown-slidespptx", True)])),
        ("ppt/slideLayouts/slideLayout1.xml", layout),
        ("ppt/slideLayouts/_rels/slideLayout1.xml.rels", rels([
            ("rId1", OFFICE_REL + "slideMaster", "../slideMasters/slideMaster1.xml", False)])),
        ("ppt/slideMasters/slideMaster1.xml", master),
        ("ppt/slideMasters/_rels/slideMaster1.xml.rels", rels([
            ("rId1", OFFICE_REL + "slideLayout", "../slideLayouts/slideLayout1.xml", False),
            ("rId2", OFFICE_REL + "theme", "../theme/theme1.xml", False)])),
        ("ppt/theme/theme1.xml", theme),
    ])


def main():
    folder = os.path.abspath(sys.argv[1])
    url = "http://127.0.0.1:%s/" % sys.argv[2]
    planted_files(folder)
    write(os.path.join(folder, "page.html"), html_page(folder, url))
    write(os.path.join(folder, "flat.fodt"), flat_odf("text", odf_text_body("flatfodt", folder, url)))
    zipped_odf(os.path.join(folder, "zipped.odt"), "text", odf_text_body("zippedodt", folder, url))
    write(os.path.join(folder, "flatbook.fods"), flat_odf("spreadsheet", ods_body(folder, url)))
    docx(os.path.join(folder, "word.docx"), folder, url)
    xlsx(os.path.join(folder, "book.xlsx"), folder, url)
    pptx(os.path.join(folder, "slides.pptx"), folder, url)


if __name__ == "__main__":
    main()
