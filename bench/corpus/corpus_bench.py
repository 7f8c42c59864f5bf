#!/usr/bin/python3
"""The corpus run at the settings every user starts with: foliant-convert
over documents of every kind (made here with LibreOffice, several with
photographs and see-through shapes) and JPEG photographs, against one
soffice --convert-to pdf process for all the documents and img2pdf for each
photograph. Prints each file's size, version and words, the totals and
times, and the ratios held against the goals (size and time at most 1.5 x
LibreOffice's own, a photograph's PDF at most 1.05 x img2pdf's).

usage: corpus_bench.py BUILD_DIR [WORK_FOLDER]
Run it under the shared lock: flock /tmp/foliant-e2e.lock bench/corpus/corpus_bench.py build/ci
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
MAKER = os.path.join(HERE, "..", "..", "tests", "fidelity", "make_fidelity_documents.py")
PICTURES = ("photo.jpg", "big1.jpg", "big2.jpg")
OFFICE = (".doc", ".docx", ".rtf", ".htm", ".txt", ".xls", ".xlsx", ".ppt", ".pptx")


def words(pdf):
    out = subprocess.run(["pdftotext", pdf, "-"], capture_output=True, text=True).stdout
    return len(out.split())


def version(pdf):
    out = subprocess.run(["pdfinfo", pdf], capture_output=True, text=True).stdout
    found = re.search(r"PDF version:\s+(\S+)", out)
    return found.group(1) if found else "?"


def timed(command, env=None):
    start = time.monotonic()
    result = subprocess.run(command, env=env, capture_output=True, text=True)
    seconds = time.monotonic() - start
    if result.returncode != 0:
        sys.exit("%s failed (%d): %s" % (command[0], result.returncode, result.stderr[-2000:]))
    return seconds


def main():
    build = os.path.abspath(sys.argv[1])
    work = os.path.abspath(sys.argv[2]) if len(sys.argv) > 2 else tempfile.mkdtemp(prefix="foliant-corpus-")
    corpus = os.path.join(work, "corpus")
    if not os.path.isdir(corpus):
        subprocess.run(["/usr/bin/python3", MAKER, "--bench", corpus], check=True)
    names = sorted(n for n in os.listdir(corpus) if n.endswith(OFFICE))
    documents = [os.path.join(corpus, n) for n in names]
    pictures = [os.path.join(corpus, n) for n in PICTURES]

    # A home of the run's own, for LibreOffice's profile and ours alike.
    home = os.path.join(work, "home")
    env = dict(os.environ, HOME=home, XDG_CONFIG_HOME=os.path.join(home, ".config"),
               XDG_CACHE_HOME=os.path.join(home, ".cache"), XDG_RUNTIME_DIR=os.path.join(home, "run"))
    for folder in (env["XDG_CONFIG_HOME"], env["XDG_CACHE_HOME"], env["XDG_RUNTIME_DIR"]):
        os.makedirs(folder, mode=0o700, exist_ok=True)

    # LibreOffice alone: one process for all, its profile made beforehand
    # (the warm office pays for its own profile once too).
    theirs = os.path.join(work, "soffice")
    shutil.rmtree(theirs, ignore_errors=True)
    profile = "file://" + os.path.join(work, "soffice-profile")
    soffice = ["soffice", "-env:UserInstallation=" + profile, "--headless", "--norestore",
               "--convert-to", "pdf", "--outdir"]
    timed(soffice + [os.path.join(work, "warmup"), documents[0]], env)
    soffice_seconds = timed(soffice + [theirs] + documents, env)

    # Foliant, first-shown settings, one job.
    ours = os.path.join(work, "foliant")
    shutil.rmtree(ours, ignore_errors=True)
    os.makedirs(ours)
    foliant = [os.path.join(build, "foliant-convert")]
    timed(foliant + ["--overwrite", "-o", os.path.join(work, "warmup-ours"), documents[0]], env)  # as soffice warms up
    foliant_seconds = timed(foliant + ["-o", ours] + documents, env)
    # Pictures into a folder of their own: photo.jpg and photo.docx share a name.
    our_pictures = os.path.join(work, "foliant-pictures")
    shutil.rmtree(our_pictures, ignore_errors=True)
    picture_seconds = timed(foliant + ["-o", our_pictures] + pictures, env)

    print("%-18s %12s %12s %6s %9s %9s" % ("document", "ours", "LibreOffice", "ver", "words", "theirs"))
    our_total = their_total = 0
    for path in documents:
        base = os.path.splitext(os.path.basename(path))[0] + ".pdf"
        mine, other = os.path.join(ours, base), os.path.join(theirs, base)
        our_total += os.path.getsize(mine)
        their_total += os.path.getsize(other)
        print("%-18s %12d %12d %6s %9d %9d" % (os.path.basename(path), os.path.getsize(mine),
                                               os.path.getsize(other), version(mine), words(mine),
                                               words(other)))
    print("%-18s %12d %12d   size %.2f x LibreOffice's own (goal <= 1.5)" %
          ("office total", our_total, their_total, our_total / their_total))
    worst = 0
    for path in pictures:
        base = os.path.splitext(os.path.basename(path))[0]
        other = os.path.join(work, base + "-img2pdf.pdf")
        subprocess.run(["img2pdf", path, "-o", other], check=True)
        mine = os.path.join(our_pictures, base + ".pdf")
        ratio = os.path.getsize(mine) / os.path.getsize(other)
        worst = max(worst, ratio)
        print("%-18s %12d %12d img2pdf  %.3f x (JPEG %d bytes)" % (os.path.basename(path), os.path.getsize(mine),
                                                                 os.path.getsize(other), ratio,
                                                                 os.path.getsize(path)))
    print("pictures: at most %.3f x img2pdf's (goal <= 1.05)" % worst)
    print("time: foliant-convert %.1f s for %d documents, soffice %.1f s: %.2f x (goal <= 1.5);"
          " %.1f s for the %d pictures" % (foliant_seconds, len(documents), soffice_seconds,
                                         foliant_seconds / soffice_seconds, picture_seconds, len(pictures)))


if __name__ == "__main__":
    main()
