"""What the scripts that make test documents with LibreOffice share: one
headless office with a private profile, reached over a named pipe; the UNO
property helpers; a link and a photo-like picture for the documents.
"""
import contextlib
import math
import os
import shutil
import signal
import struct
import subprocess
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


def named_values(**values):
    result = []
    for name, value in values.items():
        v = uno.createUnoStruct("com.sun.star.beans.NamedValue")
        v.Name = name
        v.Value = value
        result.append(v)
    return uno.Any("[]com.sun.star.beans.NamedValue", tuple(result))


def run_office(profile, arguments, **popen):
    return subprocess.Popen(
        ["soffice", "--headless", "--invisible", "--norestore", "--nologo", "--nolockcheck",
         "-env:UserInstallation=" + uno.systemPathToFileUrl(profile)] + arguments,
        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
        start_new_session=True, **popen)  # soffice is a wrapper: its office runs on in the group


def end(office, timeout):
    try:
        office.wait(timeout=timeout)
    except subprocess.TimeoutExpired:
        pass
    # Whatever of the office is still running, on any path, ends here.
    try:
        os.killpg(office.pid, signal.SIGKILL)
    except ProcessLookupError:
        pass
    office.wait()


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


@contextlib.contextmanager
def office_session(name, keep_profile=False):
    """One office for the block: yields its component context and its
    profile folder. Afterwards the office is ended, whatever happened, and
    the profile removed unless keep_profile (then it is the caller's)."""
    profile = tempfile.mkdtemp(prefix="foliant-%s-" % name)
    pipe_name = "foliant_%s_%d" % (name.replace("-", "_"), os.getpid())
    office = run_office(profile, ["--nodefault", "--accept=pipe,name=%s;urp;" % pipe_name])
    try:
        context = connect(pipe_name, office)
        yield context, profile
        try:
            context.ServiceManager.createInstanceWithContext(
                "com.sun.star.frame.Desktop", context).terminate()
        except Exception:
            pass  # the bridge goes down with the office
    finally:
        end(office, 30)
        if not keep_profile:
            shutil.rmtree(profile, ignore_errors=True)


def blank_slides(doc, count):
    """The first count slides of a presentation, made if missing, each
    emptied of the shapes its layout put there."""
    pages = doc.getDrawPages()
    while pages.getCount() < count:
        pages.insertNewByIndex(pages.getCount() - 1)
    slides = [pages.getByIndex(index) for index in range(count)]
    for page in slides:
        while page.getCount() > 0:
            page.remove(page.getByIndex(0))
    return slides


def insert_link(text, cursor, words, url):
    """A paragraph of words that link to url."""
    start = cursor.getStart()
    text.insertString(cursor, words, False)
    span = text.createTextCursorByRange(start)
    span.gotoEnd(True)
    span.setPropertyValue("HyperLinkURL", url)
    text.insertControlCharacter(cursor, 0, False)  # paragraph break
    cursor.setPropertyValue("HyperLinkURL", "")


def photo_bmp(path, width=320, height=240):
    """A 24-bit BMP of smooth colour fields with fine grain, so that JPEG at
    different qualities and Flate give clearly different streams."""
    row_size = (width * 3 + 3) & ~3
    header = b"BM" + struct.pack("<IHHI", 54 + row_size * height, 0, 0, 54)
    header += struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0,
                          row_size * height, 2835, 2835, 0, 0)
    seed = 12345
    rows = []
    for y in range(height):
        row = bytearray()
        for x in range(width):
            seed = (seed * 1103515245 + 12345) & 0x7FFFFFFF
            grain = (seed >> 16) % 41 - 20
            blue = 128 + 100 * math.sin(x / 23.0) * math.cos(y / 31.0)
            green = 128 + 100 * math.sin((x + y) / 37.0)
            red = 128 + 100 * math.cos(x / 19.0 - y / 29.0)
            row += bytes(max(0, min(255, int(c) + grain)) for c in (blue, green, red))
        row += b"\0" * (row_size - len(row))
        rows.append(bytes(row))
    with open(path, "wb") as out:
        out.write(header + b"".join(rows))
