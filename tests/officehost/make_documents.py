#!/usr/bin/python3
"""Makes the office documents the office host tests open, with LibreOffice
itself, in one headless session with a private profile.

usage: make_documents.py OUTPUT_FOLDER PASSWORD

Every document holds the words "Foliant sample" and a marker naming its own
type (for instance "markerdocx"); the Word document has a second page with
"markerpagetwo", the workbook a second sheet with "markersheettwo", the
presentation a second slide with "markerslidetwo".
"""
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

import uno
from com.sun.star.beans import PropertyValue
from com.sun.star.connection import NoConnectException


def props(**values):
    result = []
    for name, value in values.items():
        p = PropertyValue()
        p.Name = name
        p.Value = value
        result.append(p)
    return tuple(result)


def connect(pipe_name, office):
    local = uno.getComponentContext()
    resolver = local.ServiceManager.createInstanceWithContext(
        "com.sun.star.bridge.UnoUrlResolver", local)
    for _ in range(600):
        if office.poll() is not None:
            raise RuntimeError("soffice ended early")
        try:
            return resolver.resolve(
                "uno:pipe,name=%s;urp;StarOffice.ComponentContext" % pipe_name)
        except NoConnectException:
            time.sleep(0.1)
    raise RuntimeError("soffice did not answer")


# A font with named glyphs (PostScript outlines), so that text printed
# through PostScript can be read back from the print file.
FONT = "Nimbus Sans"


def writer_document(desktop, marker):
    doc = desktop.loadComponentFromURL("private:factory/swriter", "_blank", 0,
                                       props(Hidden=True))
    text = doc.getText()
    cursor = text.createTextCursor()
    cursor.setPropertyValue("CharFontName", FONT)
    text.insertString(cursor, "Foliant sample %s" % marker, False)
    text.insertControlCharacter(cursor, 0, False)  # paragraph break
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
    return doc


def impress_document(desktop, marker):
    doc = desktop.loadComponentFromURL("private:factory/simpress", "_blank", 0,
                                       props(Hidden=True))
    pages = doc.getDrawPages()
    while pages.getCount() < 2:
        pages.insertNewByIndex(pages.getCount() - 1)
    for index, words in enumerate(("Foliant sample %s" % marker, "Slide markerslidetwo")):
        page = pages.getByIndex(index)
        while page.getCount() > 0:
            page.remove(page.getByIndex(0))
        shape = doc.createInstance("com.sun.star.drawing.TextShape")
        shape.setPosition(uno.createUnoStruct("com.sun.star.awt.Point", 2000, 2000))
        shape.setSize(uno.createUnoStruct("com.sun.star.awt.Size", 20000, 3000))
        page.add(shape)
        shape.setString(words)
        shape.setPropertyValue("CharFontName", FONT)
    return doc


# (file name, maker, filter, password)
DOCUMENTS = [
    ("sample.doc", writer_document, "MS Word 97", None),
    ("sample.docx", writer_document, "MS Word 2007 XML", None),
    ("sample.rtf", writer_document, "Rich Text Format", None),
    ("sample.txt", writer_document, "Text", None),
    ("sample.htm", writer_document, "HTML (StarWriter)", None),
    ("sample.tml", writer_document, "HTML (StarWriter)", None),
    ("sample.xml", writer_document, "MS Word 2003 XML", None),
    ("sample.xls", calc_document, "MS Excel 97", None),
    ("sample.ppt", impress_document, "MS PowerPoint 97", None),
    ("protected.doc", writer_document, "MS Word 97", "password"),
    ("protected.xls", calc_document, "MS Excel 97", "password"),
]


def main():
    out_dir = os.path.abspath(sys.argv[1])
    password = sys.argv[2]
    os.makedirs(out_dir, exist_ok=True)
    profile = tempfile.mkdtemp(prefix="foliant-make-docs-")
    pipe_name = "foliant_make_docs_%d" % os.getpid()
    office = subprocess.Popen(
        ["soffice", "--headless", "--invisible", "--norestore", "--nologo",
         "--nodefault", "--nolockcheck",
         "-env:UserInstallation=" + uno.systemPathToFileUrl(profile),
         "--accept=pipe,name=%s;urp;" % pipe_name],
        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
        start_new_session=True)  # soffice is a wrapper: its office runs on in the group
    try:
        context = connect(pipe_name, office)
        desktop = context.ServiceManager.createInstanceWithContext(
            "com.sun.star.frame.Desktop", context)
        for name, maker, filter_name, with_password in DOCUMENTS:
            stem, ext = os.path.splitext(name)
            marker = "marker" + ("protected" if with_password else "") + ext[1:]
            doc = maker(desktop, marker)
            media = dict(FilterName=filter_name, Overwrite=True)
            if with_password:
                media["Password"] = password
            doc.storeToURL(uno.systemPathToFileUrl(os.path.join(out_dir, name)),
                           props(**media))
            doc.close(True)
        try:
            desktop.terminate()
        except Exception:
            pass  # the bridge goes down with the office
    finally:
        try:
            office.wait(timeout=30)
        except subprocess.TimeoutExpired:
            pass
        # Whatever of the office is still running, on any path, ends here.
        try:
            os.killpg(office.pid, signal.SIGKILL)
        except ProcessLookupError:
            pass
        office.wait()
        shutil.rmtree(profile, ignore_errors=True)


if __name__ == "__main__":
    main()
