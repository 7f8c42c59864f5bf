#!/usr/bin/python3
"""Makes the office documents the office host tests open, with LibreOffice
itself, in one headless session with a private profile.

usage: make_documents.py OUTPUT_FOLDER PASSWORD

Every document holds the words "Foliant sample" and a marker naming its own
type (for instance "markerdocx"), and the sentences of SENTENCES in TrueType
fonts; the Word document has a second page with "markerpagetwo", the
workbook a second sheet with "markersheettwo", the presentation a second
slide with "markerslidetwo". linked.docx holds a hyperlink to LINK, a
photo-like picture and a form's text field holding FORM_VALUE.
"""
import os
import sys

import uno

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from office_session import blank_slides, insert_link, named_values, office_session, photo_bmp, props  # noqa: E402


# TrueType fonts, whose subsets LibreOffice writes with glyph-index codes:
# only the PDF's Unicode maps tell their text.
FONT = "Liberation Serif"
SECOND_FONT = "DejaVu Sans"
SENTENCES = ("Überblick über die Lage.", "A naïve café serves crème brûlée.")
LINK = "https://www.example.org/foliant/overview"
FORM_VALUE = "markerformvalue"


def writer_document(desktop, marker):
    doc = desktop.loadComponentFromURL("private:factory/swriter", "_blank", 0,
                                       props(Hidden=True))
    text = doc.getText()
    cursor = text.createTextCursor()
    cursor.setPropertyValue("CharFontName", FONT)
    text.insertString(cursor, "Foliant sample %s" % marker, False)
    text.insertControlCharacter(cursor, 0, False)  # paragraph break
    for sentence, font in zip(SENTENCES, (FONT, SECOND_FONT)):
        cursor.setPropertyValue("CharFontName", font)
        text.insertString(cursor, sentence, False)
        text.insertControlCharacter(cursor, 0, False)
    cursor.setPropertyValue("CharFontName", FONT)
    cursor.setPropertyValue("BreakType", uno.Enum("com.sun.star.style.BreakType",
                                                  "PAGE_BEFORE"))
    text.insertString(cursor, "Second page markerpagetwo", False)
    return doc


def calc_document(desktop, marker):
    doc = desktop.loadComponentFromURL("private:factory/scalc", "_blank", 0,
                                       props(Hidden=True))
    sheets = doc.getSheets()
    if sheets.getCount() < 2:
        sheets.insertNewByName("Second", 1)
    for index, words in enumerate(("Foliant sample %s" % marker, "Sheet markersheettwo")):
        cell = sheets.getByIndex(index).getCellByPosition(0, 0)
        cell.setPropertyValue("CharFontName", FONT)
        cell.setString(words)
    for row, sentence in enumerate(SENTENCES, start=1):
        cell = sheets.getByIndex(0).getCellByPosition(0, row)
        cell.setPropertyValue("CharFontName", SECOND_FONT)
        cell.setString(sentence)
    return doc


def impress_document(desktop, marker):
    doc = desktop.loadComponentFromURL("private:factory/simpress", "_blank", 0,
                                       props(Hidden=True))
    first = "\n".join(("Foliant sample %s" % marker,) + SENTENCES)
    for index, (page, words) in enumerate(zip(blank_slides(doc, 2), (first, "Slide markerslidetwo"))):
        shape = doc.createInstance("com.sun.star.drawing.TextShape")
        shape.setPosition(uno.createUnoStruct("com.sun.star.awt.Point", 2000, 2000))
        shape.setSize(uno.createUnoStruct("com.sun.star.awt.Size", 20000, 3000))
        page.add(shape)
        shape.setString(words)
        shape.setPropertyValue("CharFontName", FONT)
        if index == 0:  # the last sentence in the second font
            cursor = shape.getText().createTextCursor()
            cursor.gotoEnd(False)
            cursor.goLeft(len(SENTENCES[-1]), True)
            cursor.setPropertyValue("CharFontName", SECOND_FONT)
    return doc


def linked_document(desktop, graphic_provider, picture_path):
    doc = writer_document(desktop, "markerlinked")
    text = doc.getText()
    cursor = text.createTextCursor()
    cursor.gotoEnd(False)
    text.insertControlCharacter(cursor, 0, False)
    insert_link(text, cursor, "Read the Foliant overview", LINK)
    graphics = doc.createInstance("com.sun.star.text.TextGraphicObject")
    graphic = graphic_provider.queryGraphic(props(URL=uno.systemPathToFileUrl(picture_path)))
    graphics.setPropertyValue("Graphic", graphic)
    graphics.setSize(uno.createUnoStruct("com.sun.star.awt.Size", 8000, 6000))
    text.insertTextContent(cursor, graphics, False)
    field = doc.createInstance("com.sun.star.form.component.TextField")
    field.Name = "Name"
    field.Text = FORM_VALUE
    control = doc.createInstance("com.sun.star.drawing.ControlShape")
    control.setSize(uno.createUnoStruct("com.sun.star.awt.Size", 6000, 800))
    control.setPosition(uno.createUnoStruct("com.sun.star.awt.Point", 2000, 3000))
    control.setControl(field)
    doc.getDrawPage().add(control)
    return doc

# (file name, maker, filter, password)
DOCUMENTS = [
    ("sample.doc", writer_document, "MS Word 97", None),
    ("sample.docx", writer_document, "MS Word 2007 XML", None),
    ("sample.rtf", writer_document, "Rich Text Format", None),
    ("sample.txt", writer_document, "Text (encoded)", None),
    ("sample.htm", writer_document, "HTML (StarWriter)", None),
    ("sample.tml", writer_document, "HTML (StarWriter)", None),
    ("sample.xml", writer_document, "MS Word 2003 XML", None),
    ("sample.xls", calc_document, "MS Excel 97", None),
    ("sample.ppt", impress_document, "MS PowerPoint 97", None),
    ("protected.doc", writer_document, "MS Word 97", "password"),
    ("protected.xls", calc_document, "MS Excel 97", "password"),
    # The newer formats of each kind.
    ("sample.html", writer_document, "HTML (StarWriter)", None),
    ("sample.dot", writer_document, "MS Word 97 Vorlage", None),
    ("sample.docm", writer_document, "MS Word 2007 XML VBA", None),
    ("sample.dotx", writer_document, "MS Word 2007 XML Template", None),
    ("sample.dotm", writer_document, "MS Word 2007 XML Template", None),
    ("sample.odt", writer_document, "writer8", None),
    ("sample.ott", writer_document, "writer8_template", None),
    ("sample.fodt", writer_document, "OpenDocument Text Flat XML", None),
    ("sample.xlsx", calc_document, "Calc MS Excel 2007 XML", None),
    ("sample.xlsm", calc_document, "Calc MS Excel 2007 VBA XML", None),
    ("sample.xltx", calc_document, "Calc MS Excel 2007 XML Template", None),
    ("sample.ods", calc_document, "calc8", None),
    ("sample.ots", calc_document, "calc8_template", None),
    ("sample.fods", calc_document, "OpenDocument Spreadsheet Flat XML", None),
    ("sample.csv", calc_document, "Text - txt - csv (StarCalc)", None),
    ("sample.pptx", impress_document, "Impress MS PowerPoint 2007 XML", None),
    ("sample.pptm", impress_document, "Impress MS PowerPoint 2007 XML VBA", None),
    ("sample.ppsx", impress_document, "Impress MS PowerPoint 2007 XML AutoPlay", None),
    ("sample.pps", impress_document, "MS PowerPoint 97 AutoPlay", None),
    ("sample.potx", impress_document, "Impress MS PowerPoint 2007 XML Template", None),
    ("sample.odp", impress_document, "impress8", None),
    ("sample.otp", impress_document, "impress8_template", None),
    ("sample.fodp", impress_document, "OpenDocument Presentation Flat XML", None),
    ("protected.pptx", impress_document, "Impress MS PowerPoint 2007 XML", "password"),
    ("protected.odp", impress_document, "impress8", "password"),
]

# Office Open XML is encrypted (as an encrypted compound file) only through
# the encryption data the office's own save dialog would hand over.
OOXML_FILTERS = ("Impress MS PowerPoint 2007 XML", "MS Word 2007 XML", "Calc MS Excel 2007 XML")


def main():
    out_dir = os.path.abspath(sys.argv[1])
    password = sys.argv[2]
    os.makedirs(out_dir, exist_ok=True)
    with office_session("make-docs") as (context, profile):
        desktop = context.ServiceManager.createInstanceWithContext(
            "com.sun.star.frame.Desktop", context)
        graphic_provider = context.ServiceManager.createInstanceWithContext(
            "com.sun.star.graphic.GraphicProvider", context)
        picture = os.path.join(profile, "photo.bmp")
        photo_bmp(picture)
        doc = linked_document(desktop, graphic_provider, picture)
        doc.storeToURL(uno.systemPathToFileUrl(os.path.join(out_dir, "linked.docx")),
                       props(FilterName="MS Word 2007 XML", Overwrite=True))
        doc.close(True)
        for name, maker, filter_name, with_password in DOCUMENTS:
            stem, ext = os.path.splitext(name)
            marker = "marker" + ("protected" if with_password else "") + ext[1:]
            doc = maker(desktop, marker)
            media = dict(FilterName=filter_name, Overwrite=True)
            if filter_name == "Text (encoded)":
                media["FilterOptions"] = "UTF8,LF,,"
            elif filter_name.startswith("Text - txt - csv"):
                media["FilterOptions"] = "44,34,76"  # comma, quote, UTF-8
            if with_password and filter_name in OOXML_FILTERS:
                media["EncryptionData"] = named_values(OOXPassword=password, CryptoType="Standard")
            elif with_password:
                media["Password"] = password
            doc.storeToURL(uno.systemPathToFileUrl(os.path.join(out_dir, name)),
                           props(**media))
            doc.close(True)


if __name__ == "__main__":
    main()
