#!/usr/bin/python3
"""Makes the documents the fidelity tests convert, with LibreOffice itself,
and LibreOffice's own PDF of each (soffice --convert-to pdf), the measure
the tests hold the program's PDFs against.

usage: make_fidelity_documents.py [--bench] OUTPUT_FOLDER

OUTPUT_FOLDER receives:
  alpha.docx       a PNG with an alpha channel on page 1, text on pages 1-3, a link
  undershape.docx  a paragraph under a 40 %-opaque shape
  shadows.ppt      shadowed, half-transparent shapes over text, a link
  alphasheet.xls   a picture with alpha over a sheet of text, a link
  long.docx        some twenty pages of text, a table, page breaks
  picturesheet.xls a sheet of text and a sheet with only a picture
  printrange.xls   a sheet whose print range is part of its data
  longdoc.doc, longrtf.rtf, longhtm.htm, longtxt.txt: the long document in the Word converter's other formats
  photo.jpg        a photograph-like JPEG, as LibreOffice writes one
  photo.docx       a page with photo.jpg on it, a caption and a grainy BMP picture
  scripts.docx     a paragraph in each script of SCRIPTS
  officefonts.docx a paragraph in Calibri and one in Cambria
  background.pptx  slides with a coloured background, a see-through shape
                   with text on it and text beside it
  mixed.pptx       a see-through shape apart from the text on a white slide,
                   then the same on a coloured one
With --bench it also makes the corpus benchmark's larger documents
(BENCH_DOCUMENTS: presentations and workbooks with photographs and
see-through shapes, a report with photographs) and two larger photographs,
big1.jpg and big2.jpg. There is reference/NAME.pdf for each document. Every word of the text is a distinct
dictionary-like word, so word counts compare well.
"""
import os
import shutil
import struct
import sys
import zlib

import uno

# The office's start and UNO helpers are shared with the other documents' makers.
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from office_session import blank_slides, end, insert_link, office_session, photo_bmp, props, run_office  # noqa: E402

LINK = "https://www.example.org/foliant/fidelity"
FONT = "Liberation Serif"
WORDS = ("alpha bravo charlie delta echo foxtrot golf hotel india juliet kilo lima mike "
         "november oscar papa quebec romeo sierra tango uniform victor whiskey xray yankee "
         "zulu amber basalt cobalt dune ember fjord granite harbour island jasper kelp "
         "lagoon meadow nectar orchard pebble quarry river summit tundra valley willow").split()


# A phrase in each script the fonts must draw (name, phrase).
SCRIPTS = [
    ("Chinese", "中文测试句子"),
    ("Japanese", "日本語のテスト文"),
    ("Korean", "한국어시험문장"),
    ("Hindi", "हिन्दी"),
    ("Thai", "ภาษาไทย"),
    ("Arabic", "اختبار"),
]


def size(w, h):
    return uno.createUnoStruct("com.sun.star.awt.Size", w, h)


def point(x, y):
    return uno.createUnoStruct("com.sun.star.awt.Point", x, y)


def sentence(seed, count=14):
    return " ".join(WORDS[(seed * 7 + i * 3) % len(WORDS)] for i in range(count)) + "."


def png_rgba(path, width, height, pixel):
    """A PNG of 8-bit RGBA pixels, pixel(x, y) -> (r, g, b, a)."""
    raw = bytearray()
    for y in range(height):
        raw.append(0)
        for x in range(width):
            raw.extend(pixel(x, y))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
                  chunk(b"IDAT", zlib.compress(bytes(raw))) + chunk(b"IEND", b""))


def photo(x, y):
    """Smooth colours with a fine texture, as a photograph has."""
    r = (x * 255 // 400 + (x * y) % 23) % 256
    g = (y * 255 // 300 + (x * 7 + y * 3) % 19) % 256
    b = (128 + int(60 * ((x % 50) - 25) / 25) + (y % 11)) % 256
    return (r, g, b, 255)


def logo(x, y):
    """A red disc with a soft edge on nothing."""
    d = ((x - 100) ** 2 + (y - 100) ** 2) ** 0.5
    alpha = 255 if d < 80 else (0 if d > 95 else int(255 * (95 - d) / 15))
    return (200, 30, 30, alpha)


class Maker:
    def __init__(self, context, picture):
        self.desktop = context.ServiceManager.createInstanceWithContext(
            "com.sun.star.frame.Desktop", context)
        self.graphics = context.ServiceManager.createInstanceWithContext(
            "com.sun.star.graphic.GraphicProvider", context)
        self.picture = picture

    def new(self, kind):
        return self.desktop.loadComponentFromURL("private:factory/" + kind, "_blank", 0,
                                                 props(Hidden=True))

    def graphic(self, path=None):
        return self.graphics.queryGraphic(props(URL=uno.systemPathToFileUrl(path or self.picture)))

    def write_jpeg(self, png, jpeg):
        """LibreOffice's own JPEG of the PNG."""
        self.graphics.storeGraphic(self.graphic(png), props(URL=uno.systemPathToFileUrl(jpeg),
                                                           MimeType="image/jpeg"))

    def photo_docx(self):
        doc = self.new("swriter")
        text = doc.getText()
        cursor = text.createTextCursor()
        self.paragraph(text, cursor, "Fidelity photograph page")
        picture = doc.createInstance("com.sun.star.text.TextGraphicObject")
        picture.setPropertyValue("Graphic", self.graphic(self.photo))
        picture.setPropertyValue("AnchorType", uno.Enum("com.sun.star.text.TextContentAnchorType",
                                                        "AS_CHARACTER"))
        picture.setSize(size(10000, 7500))
        text.insertTextContent(cursor, picture, False)
        text.insertControlCharacter(cursor, 0, False)
        self.paragraph(text, cursor, sentence(7))
        grain = doc.createInstance("com.sun.star.text.TextGraphicObject")
        grain.setPropertyValue("Graphic", self.graphic(self.bmp))
        grain.setPropertyValue("AnchorType", uno.Enum("com.sun.star.text.TextContentAnchorType",
                                                      "AS_CHARACTER"))
        grain.setSize(size(8000, 6000))
        text.insertTextContent(cursor, grain, False)
        return doc

    def scripts_docx(self):
        doc = self.new("swriter")
        text = doc.getText()
        cursor = text.createTextCursor()
        for name, phrase in SCRIPTS:
            self.paragraph(text, cursor, name)
            self.paragraph(text, cursor, phrase)
        return doc

    def officefonts_docx(self):
        doc = self.new("swriter")
        text = doc.getText()
        cursor = text.createTextCursor()
        self.paragraph(text, cursor, "Calibri " + sentence(3), "Calibri")
        self.paragraph(text, cursor, "Cambria " + sentence(4), "Cambria")
        return doc

    def photos_pptx(self):
        """Slides with a photograph each and a see-through caption box on it."""
        doc = self.new("simpress")
        for index, page in enumerate(blank_slides(doc, 4)):
            title = doc.createInstance("com.sun.star.drawing.TextShape")
            page.add(title)
            title.setPosition(point(1000, 500))
            title.setSize(size(24000, 2000))
            title.setString("Photographs slide%d " % (index + 1) + sentence(300 + index, 5))
            picture = doc.createInstance("com.sun.star.drawing.GraphicObjectShape")
            page.add(picture)
            picture.setPropertyValue("Graphic", self.graphic(self.big[index % 2]))
            picture.setPosition(point(2000, 3000))
            picture.setSize(size(16000, 12000))
            if index % 2:
                caption = doc.createInstance("com.sun.star.drawing.RectangleShape")
                page.add(caption)
                caption.setPosition(point(2500, 12000))
                caption.setSize(size(15000, 2500))
                caption.setPropertyValue("FillColor", 0xFFFFFF)
                caption.setPropertyValue("FillTransparence", 40)
                caption.setString(sentence(320 + index, 7))
        return doc

    def photosheet_xlsx(self):
        doc = self.new("scalc")
        sheet = doc.getSheets().getByIndex(0)
        for row in range(40):
            for col in range(5):
                sheet.getCellByPosition(col, row).setString(WORDS[(row * 3 + col) % len(WORDS)])
        picture = doc.createInstance("com.sun.star.drawing.GraphicObjectShape")
        picture.setPropertyValue("Graphic", self.graphic(self.big[0]))
        sheet.getDrawPage().add(picture)
        picture.setSize(size(12000, 9000))
        picture.setPosition(point(11000, 1000))
        return doc

    def report_docx(self):
        doc = self.long_docx()
        text = doc.getText()
        cursor = text.createTextCursorByRange(text.getEnd())
        for path in self.big:
            picture = doc.createInstance("com.sun.star.text.TextGraphicObject")
            picture.setPropertyValue("Graphic", self.graphic(path))
            picture.setPropertyValue("AnchorType", uno.Enum("com.sun.star.text.TextContentAnchorType",
                                                            "AS_CHARACTER"))
            picture.setSize(size(15000, 11250))
            text.insertTextContent(cursor, picture, False)
            text.insertControlCharacter(cursor, 0, False)
        return doc

    @staticmethod
    def coloured_background(doc, page, colour):
        background = doc.createInstance("com.sun.star.drawing.Background")
        background.setPropertyValue("FillStyle", uno.Enum("com.sun.star.drawing.FillStyle", "SOLID"))
        background.setPropertyValue("FillColor", colour)
        page.setPropertyValue("Background", background)

    @staticmethod
    def shape(doc, page, kind, at, extent, text=None):
        """A shape of kind ("TextShape", "RectangleShape") on the page, with text in FONT."""
        made = doc.createInstance("com.sun.star.drawing." + kind)
        page.add(made)
        made.setPosition(point(*at))
        made.setSize(size(*extent))
        if text is not None:
            made.setString(text)
            made.setPropertyValue("CharFontName", FONT)
        return made

    @staticmethod
    def see_through(box):
        box.setPropertyValue("FillColor", 0x2060A0)
        box.setPropertyValue("FillTransparence", 55)

    # count slides (the benchmark's decks have more than the tests' two).
    def background_pptx(self, count=2):
        doc = self.new("simpress")
        for index, page in enumerate(blank_slides(doc, count)):
            self.coloured_background(doc, page, 0xDDE8F4 if index % 2 else 0xF4E8C8)
            self.shape(doc, page, "TextShape", (1000, 1000), (11000, 8000),
                       "Backdrop slide%d\n" % (index + 1) +
                       "\n".join(sentence(200 + index * 5 + i, 6) for i in range(4)))
            box = self.shape(doc, page, "RectangleShape", (13500, 3000), (12000, 8000), sentence(220 + index, 8))
            self.see_through(box)
            box.setPropertyValue("CharColor", 0x000000)
        return doc

    # A first slide whose see-through shape lies apart from its text, which
    # flattening keeps, and a second over a coloured background, which it
    # would not.
    def mixed_pptx(self):
        doc = self.new("simpress")
        for index, page in enumerate(blank_slides(doc, 2)):
            if index:
                self.coloured_background(doc, page, 0xDDE8F4)
            self.shape(doc, page, "TextShape", (1500, 1000), (24000, 6000),
                       "Mixed slide%d\n" % (index + 1) +
                       "\n".join(sentence(240 + index * 5 + i, 8) for i in range(3)))
            self.see_through(self.shape(doc, page, "RectangleShape", (2500, 9000), (8000, 4000)))
        return doc

    # A see-through shape on a white slide, and no text at all.
    def seethrough_pptx(self):
        doc = self.new("simpress")
        page = blank_slides(doc, 1)[0]
        self.see_through(self.shape(doc, page, "RectangleShape", (4000, 3000), (12000, 8000)))
        return doc

    @staticmethod
    def paragraph(text, cursor, words, font=FONT):
        cursor.setPropertyValue("CharFontName", font)
        text.insertString(cursor, words, False)
        text.insertControlCharacter(cursor, 0, False)

    @staticmethod
    def page_break(cursor):
        cursor.setPropertyValue("BreakType", uno.Enum("com.sun.star.style.BreakType", "PAGE_BEFORE"))

    def alpha_docx(self):
        doc = self.new("swriter")
        text = doc.getText()
        cursor = text.createTextCursor()
        self.paragraph(text, cursor, "Fidelity alphapage with a see-through logo")
        picture = doc.createInstance("com.sun.star.text.TextGraphicObject")
        picture.setPropertyValue("Graphic", self.graphic())
        picture.setPropertyValue("AnchorType", uno.Enum("com.sun.star.text.TextContentAnchorType",
                                                        "AS_CHARACTER"))
        picture.setSize(size(5000, 5000))
        text.insertTextContent(cursor, picture, False)
        text.insertControlCharacter(cursor, 0, False)
        for i in range(6):
            self.paragraph(text, cursor, sentence(i))
        insert_link(text, cursor, "Read the fidelity overview", LINK)
        for page in (2, 3):
            self.page_break(cursor)
            self.paragraph(text, cursor, "Page %s markerpage%d" % ("two" if page == 2 else "three", page))
            cursor.setPropertyValue("BreakType", uno.Enum("com.sun.star.style.BreakType", "NONE"))
            for i in range(8):
                self.paragraph(text, cursor, sentence(page * 10 + i))
        return doc

    def undershape_docx(self):
        doc = self.new("swriter")
        text = doc.getText()
        cursor = text.createTextCursor()
        self.paragraph(text, cursor, "Fidelity undershape")
        for i in range(4):
            self.paragraph(text, cursor, sentence(40 + i, 24))
        shape = doc.createInstance("com.sun.star.drawing.RectangleShape")
        shape.setSize(size(12000, 3000))
        shape.setPosition(point(1000, 800))
        shape.setPropertyValue("AnchorType", uno.Enum("com.sun.star.text.TextContentAnchorType",
                                                      "AT_PARAGRAPH"))
        shape.setPropertyValue("Surround", uno.Enum("com.sun.star.text.WrapTextMode", "THROUGH"))
        shape.setPropertyValue("Opaque", True)  # in front of the text
        text.insertTextContent(cursor, shape, False)
        shape.setPropertyValue("FillColor", 0x3060C0)
        shape.setPropertyValue("FillTransparence", 60)  # 40 % opaque
        shape.setPropertyValue("Surround", uno.Enum("com.sun.star.text.WrapTextMode", "THROUGH"))
        shape.setPropertyValue("Opaque", True)
        for i in range(4):
            self.paragraph(text, cursor, sentence(50 + i, 24))
        insert_link(text, cursor, "Read the fidelity overview", LINK)
        return doc

    def shadows_ppt(self):
        doc = self.new("simpress")
        for index, page in enumerate(blank_slides(doc, 3)):
            words = doc.createInstance("com.sun.star.drawing.TextShape")
            page.add(words)
            words.setPosition(point(1500, 1000))
            words.setSize(size(24000, 6000))
            words.setString("Fidelity slide%d\n" % (index + 1) +
                            "\n".join(sentence(60 + index * 5 + i, 9) for i in range(5)))
            words.setPropertyValue("CharFontName", FONT)
            for k in range(2):
                box = doc.createInstance("com.sun.star.drawing.RectangleShape")
                page.add(box)
                box.setPosition(point(2500 + k * 9000, 8500 + k * 1500))
                box.setSize(size(8000, 4000))
                box.setPropertyValue("FillColor", 0x40A040 if k else 0xE08020)
                box.setPropertyValue("FillTransparence", 50)
                box.setPropertyValue("Shadow", True)
                box.setPropertyValue("ShadowXDistance", 300)
                box.setPropertyValue("ShadowYDistance", 300)
                box.setPropertyValue("ShadowTransparence", 40)
            if index == 0:
                field = doc.createInstance("com.sun.star.text.TextField.URL")
                field.URL = LINK
                field.Representation = "Read the fidelity overview"
                anchor = doc.createInstance("com.sun.star.drawing.TextShape")
                page.add(anchor)
                anchor.setPosition(point(1500, 15000))
                anchor.setSize(size(20000, 1500))
                anchor_text = anchor.getText()
                anchor_text.insertTextContent(anchor_text.getEnd(), field, False)
        return doc

    def alpha_xls(self):
        doc = self.new("scalc")
        sheet = doc.getSheets().getByIndex(0)
        for row in range(30):
            cell = sheet.getCellByPosition(0, row)
            cell.setString(sentence(80 + row, 8))
        cell = sheet.getCellByPosition(0, 31)
        field = doc.createInstance("com.sun.star.text.TextField.URL")
        field.URL = LINK
        field.Representation = "Read the fidelity overview"
        cursor = cell.createTextCursor()
        cell.insertTextContent(cursor, field, False)
        picture = doc.createInstance("com.sun.star.drawing.GraphicObjectShape")
        picture.setPropertyValue("Graphic", self.graphic())
        sheet.getDrawPage().add(picture)
        picture.setSize(size(5000, 5000))
        picture.setPosition(point(17000, 1500))
        return doc

    def long_docx(self):
        doc = self.new("swriter")
        text = doc.getText()
        cursor = text.createTextCursor()
        self.paragraph(text, cursor, "Fidelity long document")
        for i in range(220):
            if i % 40 == 39:
                self.page_break(cursor)
                self.paragraph(text, cursor, "Part %d" % (i // 40 + 2))
                cursor.setPropertyValue("BreakType", uno.Enum("com.sun.star.style.BreakType", "NONE"))
            self.paragraph(text, cursor, sentence(100 + i, 30), FONT if i % 3 else "DejaVu Sans")
            if i == 100:
                table = doc.createInstance("com.sun.star.text.TextTable")
                table.initialize(12, 4)
                text.insertTextContent(cursor, table, False)
                for r in range(12):
                    for c in range(4):
                        table.getCellByPosition(c, r).setString(WORDS[(r * 4 + c) % len(WORDS)])
        return doc

    def picturesheet_xls(self):
        doc = self.new("scalc")
        sheets = doc.getSheets()
        if sheets.getCount() < 2:
            sheets.insertNewByName("Pictures", 1)
        first = sheets.getByIndex(0)
        for row in range(10):
            first.getCellByPosition(0, row).setString(sentence(300 + row, 6))
        picture = doc.createInstance("com.sun.star.drawing.GraphicObjectShape")
        picture.setPropertyValue("Graphic", self.graphic())
        sheets.getByIndex(1).getDrawPage().add(picture)
        picture.setSize(size(6000, 6000))
        picture.setPosition(point(2000, 2000))
        return doc

    def printrange_xls(self):
        doc = self.new("scalc")
        sheet = doc.getSheets().getByIndex(0)
        for row in range(200):
            for col in range(6):
                sheet.getCellByPosition(col, row).setString(WORDS[(row + col) % len(WORDS)])
        area = uno.createUnoStruct("com.sun.star.table.CellRangeAddress")
        area.Sheet, area.StartColumn, area.StartRow, area.EndColumn, area.EndRow = 0, 0, 0, 2, 19
        sheet.setPrintAreas((area,))
        return doc


# (file name, maker, filter)
DOCUMENTS = [
    ("alpha.docx", "alpha_docx", "MS Word 2007 XML"),
    ("undershape.docx", "undershape_docx", "MS Word 2007 XML"),
    ("shadows.ppt", "shadows_ppt", "MS PowerPoint 97"),
    ("alphasheet.xls", "alpha_xls", "MS Excel 97"),
    ("long.docx", "long_docx", "MS Word 2007 XML"),
    ("picturesheet.xls", "picturesheet_xls", "MS Excel 97"),
    ("printrange.xls", "printrange_xls", "MS Excel 97"),
    # The long document in the other formats the Word converter takes.
    ("longdoc.doc", "long_docx", "MS Word 97"),
    ("longrtf.rtf", "long_docx", "Rich Text Format"),
    ("longhtm.htm", "long_docx", "HTML (StarWriter)"),
    ("longtxt.txt", "long_docx", "Text (encoded)"),
    ("photo.docx", "photo_docx", "MS Word 2007 XML"),
    ("scripts.docx", "scripts_docx", "MS Word 2007 XML"),
    ("officefonts.docx", "officefonts_docx", "MS Word 2007 XML"),
    ("background.pptx", "background_pptx", "Impress MS PowerPoint 2007 XML"),
    ("seethrough.pptx", "seethrough_pptx", "Impress MS PowerPoint 2007 XML"),
    ("mixed.pptx", "mixed_pptx", "Impress MS PowerPoint 2007 XML"),
]

# The corpus benchmark's larger documents, made with --bench.
BENCH_DOCUMENTS = [
    ("photos.pptx", "photos_pptx", "Impress MS PowerPoint 2007 XML"),
    ("photosppt.ppt", "photos_pptx", "MS PowerPoint 97"),
    ("photosheet.xlsx", "photosheet_xlsx", "Calc MS Excel 2007 XML"),
    ("report.docx", "report_docx", "MS Word 2007 XML"),
    ("reportdoc.doc", "report_docx", "MS Word 97"),
]


def main():
    bench = "--bench" in sys.argv[1:]
    documents = DOCUMENTS + (BENCH_DOCUMENTS if bench else [])
    out_dir = os.path.abspath([a for a in sys.argv[1:] if a != "--bench"][0])
    reference = os.path.join(out_dir, "reference")
    os.makedirs(reference, exist_ok=True)
    # The profile is kept for the reference PDFs' office below.
    with office_session("make-fidelity", keep_profile=True) as (context, profile):
        picture = os.path.join(out_dir, "logo.png")
        png_rgba(picture, 200, 200, logo)
        maker = Maker(context, picture)
        photo_png = os.path.join(out_dir, "photo.png")
        png_rgba(photo_png, 400, 300, photo)
        maker.photo = os.path.join(out_dir, "photo.jpg")
        maker.write_jpeg(photo_png, maker.photo)
        os.remove(photo_png)
        maker.bmp = os.path.join(out_dir, "grain.bmp")
        photo_bmp(maker.bmp)
        maker.big = []
        if bench:
            for index in (1, 2):
                big_png = os.path.join(out_dir, "big%d.png" % index)
                png_rgba(big_png, 1600, 1200, lambda x, y: photo(x // (index + 1) + y % 7, y // (index + 1)))
                maker.big.append(os.path.join(out_dir, "big%d.jpg" % index))
                maker.write_jpeg(big_png, maker.big[-1])
                os.remove(big_png)
        for name, method, filter_name in documents:
            doc = getattr(maker, method)()
            media = dict(FilterName=filter_name, Overwrite=True)
            if filter_name == "Text (encoded)":
                media["FilterOptions"] = "UTF8,LF,,"
            doc.storeToURL(uno.systemPathToFileUrl(os.path.join(out_dir, name)), props(**media))
            doc.close(True)
    # LibreOffice's own PDFs, as a user would make them.
    convert = run_office(profile, ["--convert-to", "pdf", "--outdir", reference] +
                         [os.path.join(out_dir, name) for name, _, _ in documents])
    end(convert, 240)
    shutil.rmtree(profile, ignore_errors=True)
    missing = [n for n, _, _ in documents
               if not os.path.exists(os.path.join(reference, os.path.splitext(n)[0] + ".pdf"))]
    if missing:
        sys.exit("no reference PDF for " + ", ".join(missing))


if __name__ == "__main__":
    main()
