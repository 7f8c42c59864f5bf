#!/usr/bin/python3
"""Makes the documents the tagged-PDF tests convert, with LibreOffice itself,
in one headless session with a private profile.

usage: make_tagged_documents.py OUTPUT_FOLDER

report.docx (German): a first- and a second-level heading, a bulleted list,
a table whose first row is its header, a link, a picture with an alternate
text and a form's text field. figures.xlsx: a sheet whose first row heads its
columns. slides.pptx: a slide with a title and a picture with an alternate
text. photo.png: a picture file. reference/NAME.pdf: LibreOffice's own PDF
of each document (its default export of the saved file).
"""
import os
import sys

import uno

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from office_session import insert_link, office_session, photo_bmp, props  # noqa: E402

HEADING = "Jahresbericht Foliant"
SUBHEADING = "Zahlen und Ergebnisse"
PARAGRAPH = "Dieser Bericht fasst das Jahr zusammen."
ITEMS = ("Erstens pünktlich", "Zweitens gründlich")
TABLE = (("Monat", "Umsatz"), ("Januar", "1200"), ("Februar", "1350"))
LINK_TEXT = "Mehr beim Verein"
LINK = "https://www.example.org/bericht"
PICTURE_ALT = "Farbflächen als Beispielbild"
FIELD_NAME = "Nachname"
FIELD_VALUE = "Mustermann"
SHEET = (("Region", "Quarter", "Revenue"), ("North", "Q1", "410"), ("South", "Q1", "385"))
SLIDE_TITLE = "Quarterly Review Slides"
SLIDE_PICTURE_ALT = "Colour fields sample photo"


def paragraph(text, cursor, words, style="Standard"):
    cursor.setPropertyValue("ParaStyleName", style)
    text.insertString(cursor, words, False)
    text.insertControlCharacter(cursor, 0, False)  # paragraph break


def graphic_object(doc, graphic_provider, picture, alt, service):
    shape = doc.createInstance(service)
    shape.setPropertyValue(
        "Graphic", graphic_provider.queryGraphic(props(URL=uno.systemPathToFileUrl(picture))))
    shape.setPropertyValue("Description", alt)
    return shape


def report(desktop, graphic_provider, picture):
    doc = desktop.loadComponentFromURL("private:factory/swriter", "_blank", 0,
                                       props(Hidden=True))
    german = uno.createUnoStruct("com.sun.star.lang.Locale", "de", "DE", "")
    doc.setPropertyValue("CharLocale", german)
    for name in ("Standard", "Heading 1", "Heading 2", "List Bullet", "Table Contents",
                 "Table Heading"):
        styles = doc.getStyleFamilies().getByName("ParagraphStyles")
        if styles.hasByName(name):
            styles.getByName(name).setPropertyValue("CharLocale", german)
    text = doc.getText()
    cursor = text.createTextCursor()
    paragraph(text, cursor, HEADING, "Heading 1")
    paragraph(text, cursor, PARAGRAPH)
    paragraph(text, cursor, SUBHEADING, "Heading 2")
    for item in ITEMS:
        cursor.setPropertyValue("NumberingStyleName", "List 1")
        paragraph(text, cursor, item)
    cursor.setPropertyValue("NumberingStyleName", "")
    table = doc.createInstance("com.sun.star.text.TextTable")
    table.initialize(len(TABLE), len(TABLE[0]))
    text.insertTextContent(cursor, table, False)
    table.setPropertyValue("RepeatHeadline", True)
    table.setPropertyValue("HeaderRowCount", 1)
    for r, row in enumerate(TABLE):
        for c, value in enumerate(row):
            table.getCellByName("%s%d" % ("AB"[c], r + 1)).setString(value)
    insert_link(text, cursor, LINK_TEXT, LINK)
    image = graphic_object(doc, graphic_provider, picture, PICTURE_ALT,
                           "com.sun.star.text.TextGraphicObject")
    image.setSize(uno.createUnoStruct("com.sun.star.awt.Size", 6000, 4500))
    image.setPropertyValue("AnchorType", uno.Enum("com.sun.star.text.TextContentAnchorType",
                                                   "AS_CHARACTER"))
    text.insertTextContent(cursor, image, False)
    text.insertControlCharacter(cursor, 0, False)
    field = doc.createInstance("com.sun.star.form.component.TextField")
    field.Name = FIELD_NAME
    field.Text = FIELD_VALUE
    control = doc.createInstance("com.sun.star.drawing.ControlShape")
    control.setSize(uno.createUnoStruct("com.sun.star.awt.Size", 6000, 800))
    control.setControl(field)
    anchor = cursor.getStart()
    control.setPropertyValue("AnchorType", uno.Enum("com.sun.star.text.TextContentAnchorType",
                                                     "AS_CHARACTER"))
    text.insertTextContent(anchor, control, False)
    return doc


def sheet(desktop):
    doc = desktop.loadComponentFromURL("private:factory/scalc", "_blank", 0,
                                       props(Hidden=True))
    cells = doc.getSheets().getByIndex(0)
    for r, row in enumerate(SHEET):
        for c, value in enumerate(row):
            cell = cells.getCellByPosition(c, r)
            cell.setString(value)
            cell.setPropertyValue("CharWeight", 150.0 if r == 0 else 100.0)
    return doc


def slides(desktop, graphic_provider, picture):
    doc = desktop.loadComponentFromURL("private:factory/simpress", "_blank", 0,
                                       props(Hidden=True))
    page = doc.getDrawPages().getByIndex(0)
    page.setPropertyValue("Layout", 19)  # title only
    title = None
    for i in range(page.getCount()):
        shape = page.getByIndex(i)
        if shape.getShapeType() == "com.sun.star.presentation.TitleTextShape":
            title = shape
    if title is None:
        title = doc.createInstance("com.sun.star.presentation.TitleTextShape")
        page.add(title)
    title.setString(SLIDE_TITLE)
    image = graphic_object(doc, graphic_provider, picture, SLIDE_PICTURE_ALT,
                           "com.sun.star.drawing.GraphicObjectShape")
    page.add(image)
    image.setPosition(uno.createUnoStruct("com.sun.star.awt.Point", 4000, 6000))
    image.setSize(uno.createUnoStruct("com.sun.star.awt.Size", 8000, 6000))
    return doc


def main():
    out_dir = os.path.abspath(sys.argv[1])
    os.makedirs(out_dir, exist_ok=True)
    with office_session("make-tagged") as (context, profile):
        manager = context.ServiceManager
        desktop = manager.createInstanceWithContext("com.sun.star.frame.Desktop", context)
        graphic_provider = manager.createInstanceWithContext(
            "com.sun.star.graphic.GraphicProvider", context)
        bmp = os.path.join(profile, "photo.bmp")
        photo_bmp(bmp)
        made = (("report.docx", report(desktop, graphic_provider, bmp), "MS Word 2007 XML"),
                ("figures.xlsx", sheet(desktop), "Calc MS Excel 2007 XML"),
                ("slides.pptx", slides(desktop, graphic_provider, bmp),
                 "Impress MS PowerPoint 2007 XML"))
        os.makedirs(os.path.join(out_dir, "reference"), exist_ok=True)
        exports = {"report.docx": "writer_pdf_Export", "figures.xlsx": "calc_pdf_Export",
                   "slides.pptx": "impress_pdf_Export"}
        for name, doc, filter_name in made:
            path = os.path.join(out_dir, name)
            doc.storeToURL(uno.systemPathToFileUrl(path), props(FilterName=filter_name, Overwrite=True))
            doc.close(True)
            saved = desktop.loadComponentFromURL(uno.systemPathToFileUrl(path), "_blank", 0,
                                                 props(Hidden=True, ReadOnly=True))
            reference = os.path.join(out_dir, "reference", os.path.splitext(name)[0] + ".pdf")
            saved.storeToURL(uno.systemPathToFileUrl(reference),
                             props(FilterName=exports[name], Overwrite=True))
            saved.close(True)
        # The picture file: the same photo as PNG, through the office's own export.
        draw = desktop.loadComponentFromURL(uno.systemPathToFileUrl(bmp), "_blank", 0,
                                            props(Hidden=True))
        draw.storeToURL(uno.systemPathToFileUrl(os.path.join(out_dir, "photo.png")),
                        props(FilterName="draw_png_Export", Overwrite=True))
        draw.close(True)


if __name__ == "__main__":
    main()
