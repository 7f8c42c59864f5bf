#!/usr/bin/python3
"""Makes deckN.pptx: N slides like background.pptx's (a coloured background,
text beside a see-through shape with text on it), the kind of deck that
flattening at PDF 1.3 would turn into pictures, so the program writes it at
PDF 1.4. It times how soon a run finds that out.

usage: make_deck.py OUTPUT_FOLDER [SLIDES=40]
"""
import os
import sys

import uno

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "tests", "fidelity"))
sys.path.insert(0, os.path.join(HERE, "..", "..", "tests", "support"))
import make_fidelity_documents as fidelity  # noqa: E402
from office_session import blank_slides, office_session, props  # noqa: E402


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    out = os.path.abspath(sys.argv[1])
    count = int(sys.argv[2]) if len(sys.argv) > 2 else 40
    os.makedirs(out, exist_ok=True)
    with office_session("make-deck") as (context, _):
        doc = fidelity.Maker(context, None).new("simpress")
        for index, page in enumerate(blank_slides(doc, count)):
            background = doc.createInstance("com.sun.star.drawing.Background")
            background.setPropertyValue("FillStyle", uno.Enum("com.sun.star.drawing.FillStyle", "SOLID"))
            background.setPropertyValue("FillColor", 0xDDE8F4 if index % 2 else 0xF4E8C8)
            page.setPropertyValue("Background", background)
            beside = doc.createInstance("com.sun.star.drawing.TextShape")
            page.add(beside)
            beside.setPosition(fidelity.point(1000, 1000))
            beside.setSize(fidelity.size(11000, 8000))
            beside.setString("Deck slide%d\n" % (index + 1) +
                             "\n".join(fidelity.sentence(300 + index * 5 + i, 6) for i in range(4)))
            box = doc.createInstance("com.sun.star.drawing.RectangleShape")
            page.add(box)
            box.setPosition(fidelity.point(13500, 3000))
            box.setSize(fidelity.size(12000, 8000))
            box.setPropertyValue("FillColor", 0x2060A0)
            box.setPropertyValue("FillTransparence", 55)
            box.setString(fidelity.sentence(420 + index, 8))
        name = os.path.join(out, "deck%d.pptx" % count)
        doc.storeToURL(uno.systemPathToFileUrl(name),
                       props(FilterName="Impress MS PowerPoint 2007 XML", Overwrite=True))
        doc.close(True)
    print(name)


if __name__ == "__main__":
    main()
