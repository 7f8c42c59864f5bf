#!/usr/bin/python3
"""Where each file's time goes in a foliant-convert run over the corpus
(made by corpus_bench.py in the same work folder): the run is traced with
strace (process starts and ends, file opens and renames only, so it is
slowed little), and each office file's time is split into its steps:

  host   from the previous file's PDF to the office host opening this file
  export the host loading the document and exporting it plainly (the job)
  flat   the flattening tries at PDF 1.3: the sketch, and the full one when
         the sketch kept every word (only for jobs with transparency)
  gs     Ghostscript, from its start to its end
  final  from Ghostscript's end to the PDF under its name (qpdf's passes)

usage: step_times.py BUILD_DIR WORK_FOLDER
Run it under the shared lock, after corpus_bench.py has made WORK_FOLDER/corpus.
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile

OFFICE = (".doc", ".docx", ".rtf", ".htm", ".txt", ".xls", ".xlsx", ".ppt", ".pptx")
LINE = re.compile(r"^(\d+)\s+([\d.]+)\s+(.*)$")


def main():
    if not shutil.which("strace"):
        sys.exit("step_times.py needs strace (apt-get install strace)")
    build, work = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    corpus = os.path.join(work, "corpus")
    documents = sorted(os.path.join(corpus, n) for n in os.listdir(corpus) if n.endswith(OFFICE))
    home = os.path.join(work, "home")
    env = dict(os.environ, HOME=home, XDG_CONFIG_HOME=os.path.join(home, ".config"),
               XDG_CACHE_HOME=os.path.join(home, ".cache"), XDG_RUNTIME_DIR=os.path.join(home, "run"))
    output = os.path.join(work, "steps")
    shutil.rmtree(output, ignore_errors=True)
    trace = tempfile.NamedTemporaryFile(prefix="foliant-steps-", suffix=".trace", delete=False).name
    subprocess.run(["strace", "-f", "--seccomp-bpf", "-ttt", "-o", trace, "-e",
                    "trace=execve,openat,rename,renameat,renameat2,exit_group",
                    os.path.join(build, "foliant-convert"), "-o", output] + documents,
                   env=env, capture_output=True, check=True)

    events = []  # (time, pid, text)
    with open(trace) as f:
        for raw in f:
            found = LINE.match(raw)
            if found:
                events.append((float(found.group(2)), found.group(1), found.group(3)))
    os.unlink(trace)
    start = events[0][0]
    client = events[0][1]
    names = [os.path.basename(d) for d in documents]
    steps = {n: {} for n in names}
    current = None
    previous_pdf = start
    gs_pid = None
    for at, pid, text in events:
        opened = re.search(r'openat\(.*"%s/([^"]+)"' % re.escape(corpus), text)
        if opened and pid != client and opened.group(1) in steps and opened.group(1) != current:
            current = opened.group(1)
            steps[current]["host"] = at - previous_pdf
            steps[current]["opened"] = at
            continue
        if current is None:
            continue
        step = steps[current]
        renamed = re.search(r'^rename\w*\([^"]*"([^"]+)",[^"]*"([^"]+)"', text)
        target = os.path.basename(renamed.group(2)) if renamed else ""
        if renamed and target == "tmp.ps":
            step["job_done"] = at
        elif renamed and target.startswith(".tmp.ps-") and "-flat-" not in target:
            step.setdefault("exported", at)
        elif re.search(r'execve\("[^"]*/gs"', text):
            gs_pid, step["gs_start"] = pid, at
        elif text.startswith("exit_group") and pid == gs_pid:
            step["gs_end"], gs_pid = at, None
        elif renamed and renamed.group(2) == os.path.join(output, os.path.splitext(current)[0] + ".pdf"):
            step["pdf"] = previous_pdf = at

    print("%-18s %6s %6s %6s %6s %6s %7s" % ("document", "host", "export", "flat", "gs", "final", "total"))
    for name in names:
        s = steps[name]
        if not {"opened", "exported", "job_done", "gs_start", "gs_end", "pdf"} <= s.keys():
            print("%-18s (steps not all seen: %s)" % (name, " ".join(sorted(s))))
            continue
        export = s["exported"] - s["opened"]
        flat = s["job_done"] - s["exported"]
        print("%-18s %6.2f %6.2f %6.2f %6.2f %6.2f %7.2f" % (
            name, s["host"], export, flat, s["gs_end"] - s["gs_start"], s["pdf"] - s["gs_end"],
            s["host"] + (s["pdf"] - s["opened"])))
    print("whole run: %.2f s" % (events[-1][0] - start))


if __name__ == "__main__":
    main()
