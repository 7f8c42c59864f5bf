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
from office_session import office_session, props  # noqa: E402


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    out = os.path.abspath(sys.argv[1])
    count = int(sys.argv[2]) if len(sys.argv) > 2 else 40
    os.makedirs(out, exist_ok=True)
    with office_session("make-deck") as (context, _):
        doc = fidelity.Maker(context, None).background_pptx(count)
        name = os.path.join(out, "deck%d.pptx" % count)
        doc.storeToURL(uno.systemPathToFileUrl(name),
                       props(FilterName="Impress MS PowerPoint 2007 XML", Overwrite=True))
        doc.close(True)
    print(name)


if __name__ == "__main__":
    main()
