#!/usr/bin/python3
"""Where each file's time goes in a foliant-convert run over the corpus
(made by corpus_bench.py in the same work folder): the run is traced with
strace (process and thread starts and ends, file opens and renames only, so
it is slowed little), and each office file's time is split into its steps:

  host   from the office host's start (forked or cold) to its opening the file
  export the host loading the document and exporting it plainly (the job)
  flat   the flattening tries at PDF 1.3: the sketch, and the full one when
         the sketch kept every word (only for jobs with transparency)
  gs     Ghostscript, from its start to its end
  final  from Ghostscript's end to the PDF under its name (qpdf's passes)

Each step is told apart by the process (and, for Ghostscript and the final
steps, the job's thread) that does it, so files that overlap (several jobs,
or a file's PDF made while the next prints) are split as well. Then the
run's profile: how long the office printed (hosts from their start to the
complete job), Ghostscript ran, both, and neither, and the most of each at
once.

usage: step_times.py [--jobs N] [--timeline] [--keep TRACE | --trace TRACE] BUILD_DIR WORK_FOLDER
Run it under the shared lock, after corpus_bench.py has made WORK_FOLDER/corpus.
"""
import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile

OFFICE = (".doc", ".docx", ".rtf", ".htm", ".txt", ".xls", ".xlsx", ".ppt", ".pptx")
LINE = re.compile(r"^(\d+)\s+([\d.]+)\s+(.*)$")
CLONE = re.compile(r"^(?:clone3?|vfork|fork)\((.*)\)\s+=\s+(\d+)")


def trace_run(program, documents, output, env, jobs, trace):
    subprocess.run(["strace", "-f", "--seccomp-bpf", "-ttt", "-o", trace, "-e",
                    "trace=%process,openat,rename,renameat,renameat2",
                    program, "--jobs", str(jobs), "-o", output] + documents,
                   env=env, capture_output=True, check=True)


def read_trace(trace):
    """(time, thread, call) for each call, a call interrupted by another
    thread's joined with its end (at the time it began)."""
    events = []
    unfinished = {}  # thread -> index of its unfinished call in events
    with open(trace) as f:
        for raw in f:
            found = LINE.match(raw)
            if not found:
                continue
            at, tid, text = float(found.group(2)), int(found.group(1)), found.group(3)
            resumed = re.match(r"^<\.\.\. \w+ resumed>(.*)$", text)
            if resumed and tid in unfinished:
                i = unfinished.pop(tid)
                events[i] = (events[i][0], tid, events[i][2] + resumed.group(1))
                continue
            if text.endswith("<unfinished ...>"):
                unfinished[tid] = len(events)
                text = text[: -len("<unfinished ...>")].rstrip()
            events.append((at, tid, text))
    return events


def profile(office, ghostscript, start, end):
    """Seconds with the office printing, Ghostscript running, both and neither;
    the most of each at once."""
    marks = []
    for kind, spans in (("office", office), ("gs", ghostscript)):
        for a, b in spans:
            marks += [(a, kind, 1), (b, kind, -1)]
    marks.sort()
    now = {"office": 0, "gs": 0}
    most = {"office": 0, "gs": 0}
    spent = {"office only": 0.0, "gs only": 0.0, "both": 0.0, "neither": 0.0}
    last = start
    for at, kind, step in marks + [(end, "office", 0)]:
        span = max(0.0, at - last)
        key = ("both" if now["office"] and now["gs"] else "office only" if now["office"]
               else "gs only" if now["gs"] else "neither")
        spent[key] += span
        last = max(last, at)
        now[kind] += step
        most[kind] = max(most[kind], now[kind])
    return spent, most


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--jobs", type=int, default=1)
    parser.add_argument("--trace", help="read this trace (written by an earlier run with --keep) instead of running")
    parser.add_argument("--timeline", action="store_true", help="list each job's files with their start and end")
    parser.add_argument("--keep", help="keep the trace in this file")
    parser.add_argument("build")
    parser.add_argument("work")
    args = parser.parse_args()
    if not shutil.which("strace"):
        sys.exit("step_times.py needs strace (apt-get install strace)")
    build, work = os.path.abspath(args.build), os.path.abspath(args.work)
    corpus = os.path.join(work, "corpus")
    documents = sorted(os.path.join(corpus, n) for n in os.listdir(corpus) if n.endswith(OFFICE))
    home = os.path.join(work, "home")
    env = dict(os.environ, HOME=home, XDG_CONFIG_HOME=os.path.join(home, ".config"),
               XDG_CACHE_HOME=os.path.join(home, ".cache"), XDG_RUNTIME_DIR=os.path.join(home, "run"))
    output = os.path.join(work, "steps")
    shutil.rmtree(output, ignore_errors=True)
    trace = args.trace or args.keep or tempfile.NamedTemporaryFile(
        prefix="foliant-steps-", suffix=".trace", delete=False).name
    if not args.trace:
        trace_run(os.path.join(build, "foliant-convert"), documents, output, env, args.jobs, trace)
    events = read_trace(trace)
    if not (args.trace or args.keep):
        os.unlink(trace)

    start, end = events[0][0], events[-1][0]
    process = {events[0][1]: events[0][1]}  # thread -> its process
    born = {}                                # process -> when it was started
    creator = {}                             # process -> the thread that started it
    names = [os.path.basename(d) for d in documents]
    pdf_of = {os.path.join(output, os.path.splitext(n)[0] + ".pdf"): n for n in names}
    steps = {n: {} for n in names}
    file_of_host = {}                        # host process -> its file
    gs_runs = {}                             # gs process -> [start, end, the job's thread]
    office_spans, gs_spans = [], []
    for at, tid, text in events:
        pid = process.setdefault(tid, tid)
        cloned = CLONE.match(text)
        if cloned:
            child = int(cloned.group(2))
            process[child] = pid if "CLONE_THREAD" in cloned.group(1) else child
            if process[child] == child:
                born[child] = at
                creator[child] = tid
            continue
        opened = re.search(r'openat\(.*"%s/([^"]+)"' % re.escape(corpus), text)
        if opened and opened.group(1) in steps and pid != events[0][1] and pid not in file_of_host:
            name = opened.group(1)
            file_of_host[pid] = name
            steps[name].update(opened=at, born=born.get(pid, at))
            continue
        renamed = re.search(r'^rename\w*\([^"]*"([^"]+)",[^"]*"([^"]+)"', text)
        target = os.path.basename(renamed.group(2)) if renamed else ""
        name = file_of_host.get(pid)
        if renamed and name and target == "tmp.ps":
            steps[name]["job_done"] = at
            office_spans.append((steps[name]["born"], at))
        elif renamed and name and target.startswith(".tmp.ps-") and "-flat-" not in target:
            steps[name].setdefault("exported", at)
        elif re.search(r'^execve\("[^"]*/gs"', text) and text.rstrip().endswith("= 0"):
            gs_runs[pid] = [at, None, creator.get(pid)]
        elif text.startswith("exit_group") and pid in gs_runs and gs_runs[pid][1] is None:
            gs_runs[pid][1] = at
            gs_spans.append((gs_runs[pid][0], at))
        elif renamed and renamed.group(2) in pdf_of:
            step = steps[pdf_of[renamed.group(2)]]
            step.update(pdf=at, job=tid)
            # Ghostscript of this file: the last one the same thread started.
            mine = [run for run in gs_runs.values() if run[2] == tid and run[1] is not None and run[1] <= at]
            if mine:
                gs_start, gs_end, _ = max(mine)
                step.update(gs_start=gs_start, gs_end=gs_end)
                for run in mine:
                    run[2] = None

    print("%-18s %6s %6s %6s %6s %6s %7s" % ("document", "host", "export", "flat", "gs", "final", "total"))
    for name in names:
        s = steps[name]
        if not {"born", "opened", "exported", "job_done", "gs_start", "gs_end", "pdf"} <= s.keys():
            print("%-18s (steps not all seen: %s)" % (name, " ".join(sorted(s))))
            continue
        print("%-18s %6.2f %6.2f %6.2f %6.2f %6.2f %7.2f" % (
            name, s["opened"] - s["born"], s["exported"] - s["opened"], s["job_done"] - s["exported"],
            s["gs_end"] - s["gs_start"], s["pdf"] - s["gs_end"], s["pdf"] - s["born"]))
    # Each job's files (the thread that put their PDFs in place): the time
    # between one file's PDF and the next file's host is the job's own wait.
    for job in sorted({s["job"] for s in steps.values() if "job" in s}):
        mine = sorted((s["born"], s["pdf"]) for s in steps.values() if s.get("job") == job and "born" in s)
        gaps = [b - a for (_, a), (b, _) in zip(mine, mine[1:])]
        print("job thread %d: %d files, %.2f s from their hosts' starts to their PDFs; between files %.2f s"
              " (at most %.2f s)" % (job, len(mine), sum(b - a for a, b in mine), sum(gaps),
                                      max(gaps, default=0)))
        if args.timeline:
            for name, s in sorted(((n, s) for n, s in steps.items() if s.get("job") == job and "born" in s),
                                  key=lambda item: item[1]["born"]):
                print("  %6.2f .. %6.2f  %s" % (s["born"] - start, s["pdf"] - start, name))
    spent, most = profile(office_spans, gs_spans, start, end)
    print("whole run (--jobs %d): %.2f s; office printing only %.2f s, Ghostscript only %.2f s, both %.2f s,"
          " neither %.2f s; at most %d hosts printing and %d Ghostscripts at once" % (
              args.jobs, end - start, spent["office only"], spent["gs only"], spent["both"], spent["neither"],
              most["office"], most["gs"]))


if __name__ == "__main__":
    main()
