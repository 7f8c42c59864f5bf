#!/usr/bin/python3
"""The corpus run at the settings every user starts with: foliant-convert
over documents of every kind (made here with LibreOffice, several with
photographs and see-through shapes) and JPEG photographs, against one
soffice --convert-to pdf process for all the documents and img2pdf for each
photograph. Prints each file's size, version and words, the totals and
times, and the ratios held against the goals (size and time at most 1.5 x
LibreOffice's own, a photograph's PDF at most 1.05 x img2pdf's). On a
shared machine the times swing with the load: --runs N times both sides N
times, one after the other, and gives the medians, each file's median time
as foliant-convert reports it, and the load average around each run.

With --jobs N foliant-convert converts N files at once.

usage: corpus_bench.py [--runs N] [--jobs N] BUILD_DIR [WORK_FOLDER]
Run it under the shared lock: flock /tmp/foliant-e2e.lock bench/corpus/corpus_bench.py build/ci
"""
import argparse
import os
import re
import shutil
import statistics
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


def timed(command, env=None, output=None):
    start = time.monotonic()
    result = subprocess.run(command, env=env, capture_output=True, text=True)
    seconds = time.monotonic() - start
    if result.returncode != 0:
        sys.exit("%s failed (%d): %s" % (command[0], result.returncode, result.stderr[-2000:]))
    if output is not None:
        output.append(result.stdout + result.stderr)
    return seconds


def load():
    with open("/proc/loadavg") as f:
        return f.read().split()[0]


# Each file's time as foliant-convert reports it: "made SOURCE -> PDF (PDF 1.3, 0.9 s)".
def file_times(report):
    times = {}
    for found in re.finditer(r"^made (.+?) -> .*, ([0-9.]+) s\)$", report, re.MULTILINE):
        times[os.path.basename(found.group(1))] = float(found.group(2))
    return times


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--runs", type=int, default=1)
    parser.add_argument("--jobs", type=int, default=1)
    parser.add_argument("build")
    parser.add_argument("work", nargs="?")
    args = parser.parse_args()
    build = os.path.abspath(args.build)
    work = os.path.abspath(args.work) if args.work else tempfile.mkdtemp(prefix="foliant-corpus-")
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

    # Foliant, first-shown settings, one job, after a run of its own as
    # soffice had (the office profiles are made).
    ours = os.path.join(work, "foliant")
    foliant = [os.path.join(build, "foliant-convert"), "--jobs", str(args.jobs)]
    timed(foliant + ["--overwrite", "-o", os.path.join(work, "warmup-ours"), documents[0]], env)
    soffice_runs, foliant_runs, loads, per_file = [], [], [], {}
    for _ in range(max(1, args.runs)):
        before = load()
        shutil.rmtree(theirs, ignore_errors=True)
        soffice_runs.append(timed(soffice + [theirs] + documents, env))
        shutil.rmtree(ours, ignore_errors=True)
        os.makedirs(ours)
        reports = []
        foliant_runs.append(timed(foliant + ["-o", ours] + documents, env, reports))
        for name, seconds in file_times(reports[0]).items():
            per_file.setdefault(name, []).append(seconds)
        loads.append("%s-%s" % (before, load()))
    soffice_seconds = statistics.median(soffice_runs)
    foliant_seconds = statistics.median(foliant_runs)
    # Pictures into a folder of their own: photo.jpg and photo.docx share a name.
    our_pictures = os.path.join(work, "foliant-pictures")
    shutil.rmtree(our_pictures, ignore_errors=True)
    picture_seconds = timed(foliant + ["-o", our_pictures] + pictures, env)

    print("%-18s %12s %12s %6s %9s %9s %7s" % ("document", "ours", "LibreOffice", "ver", "words", "theirs",
                                               "time"))
    our_total = their_total = 0
    for path in documents:
        base = os.path.splitext(os.path.basename(path))[0] + ".pdf"
        mine, other = os.path.join(ours, base), os.path.join(theirs, base)
        our_total += os.path.getsize(mine)
        their_total += os.path.getsize(other)
        seconds = per_file.get(os.path.basename(path))
        print("%-18s %12d %12d %6s %9d %9d %7s" % (os.path.basename(path), os.path.getsize(mine),
                                                   os.path.getsize(other), version(mine), words(mine),
                                                   words(other),
                                                   "%.2f s" % statistics.median(seconds) if seconds else "?"))
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
    if len(foliant_runs) > 1:
        print("runs: foliant-convert %s s, soffice %s s; load average before-after each: %s" %
              (" ".join("%.1f" % t for t in foliant_runs), " ".join("%.1f" % t for t in soffice_runs),
               " ".join(loads)))
    print("time: foliant-convert --jobs %d %.1f s for %d documents, soffice %.1f s: %.2f x (goal <= 1.5);"
          " %.1f s for the %d pictures%s" % (args.jobs, foliant_seconds, len(documents), soffice_seconds,
                                           foliant_seconds / soffice_seconds, picture_seconds, len(pictures),
                                           " (medians of %d runs)" % len(foliant_runs)
                                           if len(foliant_runs) > 1 else ""))


if __name__ == "__main__":
    main()
