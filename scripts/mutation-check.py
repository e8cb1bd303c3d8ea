#!/usr/bin/env python3
"""Plants each fault of tests/mutants.txt in a scratch copy of the sources, rebuilds incrementally,
runs the test suite and reports which faults the tests catch (killed) and which they miss
(survived). A fault that does not compile is counted apart ("no build").

    scripts/mutation-check.py                  # the working tree's tracked files
    scripts/mutation-check.py --rev 784683f    # a committed revision
    scripts/mutation-check.py --only xor-fold,max-sentence-127 --jobs 2

Everything happens in build-mutation/: src/ is the copy (only changed files are rewritten, so the
build in build/ stays incremental between runs), report.md the last table.

Catalogue format: blocks separated by blank lines, one "key: value" per line, "#" lines are
comments. The value is everything after the colon and one space, taken as written, so leading
spaces count. Keys: id (unique, for --only), file (relative to the repository), old (text that
must occur exactly once in the file), new (its replacement; may be empty), fault (what the change
plants). Repeating old or new continues the text on a new line.
"""

import argparse
import os
import re
import shutil
import signal
import subprocess
import sys
import tarfile
import tempfile
import time
from dataclasses import dataclass, field
from pathlib import Path

REPO = Path(__file__).resolve().parent.parent
KEYS = ("id", "file", "old", "new", "fault")
MULTILINE_KEYS = ("old", "new")


class CatalogueError(Exception):
    pass


@dataclass
class Mutant:
    id: str
    file: str
    old: str
    new: str
    fault: str
    line: int  # where its block starts in the catalogue
    result: str = ""
    killers: list = field(default_factory=list)
    seconds: float = 0.0


# ---------------------------------------------------------------------------------------------
# Catalogue


def parse_catalogue(text, name):
    mutants, errors, block, start = [], [], {}, 0

    def finish():
        if not block:
            return
        missing = [key for key in KEYS if key not in block]
        if missing:
            errors.append(f"{name}:{start}: block lacks {', '.join(missing)}")
            return
        mutant = Mutant(
            id=block["id"].strip(),
            file=block["file"].strip(),
            old="\n".join(block["old"]),
            new="\n".join(block["new"]),
            fault=block["fault"].strip(),
            line=start,
        )
        if not re.fullmatch(r"[A-Za-z0-9_.-]+", mutant.id):
            errors.append(f"{name}:{start}: id {mutant.id!r} wants letters, digits, '-', '_' or '.'")
        elif mutant.old == mutant.new:
            errors.append(f"{name}:{start}: {mutant.id}: old and new are the same")
        elif not mutant.old:
            errors.append(f"{name}:{start}: {mutant.id}: old is empty")
        mutants.append(mutant)

    for number, raw in enumerate(text.splitlines(), 1):
        if raw.startswith("#"):
            continue
        if not raw.strip():
            finish()
            block = {}
            continue
        if not block:
            start = number
        key, colon, value = raw.partition(":")
        if not colon or key not in KEYS:
            errors.append(f"{name}:{number}: expected one of {', '.join(KEYS)} then ':', got {raw!r}")
            continue
        value = value[1:] if value.startswith(" ") else value
        if key in MULTILINE_KEYS:
            block.setdefault(key, []).append(value)
        elif key in block:
            errors.append(f"{name}:{number}: {key} given twice in one block")
        else:
            block[key] = value
    finish()

    seen = {}
    for mutant in mutants:
        if mutant.id in seen:
            errors.append(f"{name}:{mutant.line}: id {mutant.id} already used at line {seen[mutant.id]}")
        seen.setdefault(mutant.id, mutant.line)
    if errors:
        raise CatalogueError("\n".join(errors))
    return mutants


def check_against_sources(mutants, read, name):
    """`read(file)` gives a source file's text, or None when there is no such file."""
    errors = []
    for mutant in mutants:
        text = read(mutant.file)
        if text is None:
            errors.append(f"{name}:{mutant.line}: {mutant.id}: no file {mutant.file}")
            continue
        count = text.count(mutant.old)
        if count != 1:
            errors.append(
                f"{name}:{mutant.line}: {mutant.id}: old text occurs {count} times in {mutant.file}, "
                "not exactly once"
            )
    if errors:
        raise CatalogueError("\n".join(errors))


# ---------------------------------------------------------------------------------------------
# Scratch sources


def git(*args, **kwargs):
    return subprocess.run(["git", "-C", str(REPO), *args], check=True, capture_output=True, **kwargs).stdout


def reader_of_tree(root):
    def read(name):
        path = root / name
        return path.read_text(encoding="utf-8") if path.is_file() else None

    return read


def reader_of_revision(rev):
    def read(name):
        shown = subprocess.run(["git", "-C", str(REPO), "show", f"{rev}:{name}"], capture_output=True)
        return shown.stdout.decode("utf-8") if shown.returncode == 0 else None

    return read


def write_if_changed(path, data):
    """Writes `data` unless the file holds it already, so unchanged files keep their times."""
    try:
        if path.stat().st_size == len(data) and path.read_bytes() == data:
            return False
    except FileNotFoundError:
        pass
    path.parent.mkdir(parents=True, exist_ok=True)
    if path.is_symlink():
        path.unlink()
    path.write_bytes(data)
    return True


def working_tree_files():
    for name in git("ls-files", "-z").decode().split("\0"):
        path = REPO / name
        if name and path.is_file():  # a tracked file deleted in the working tree is left out
            yield name, path.read_bytes()


def revision_files(rev):
    archive = subprocess.Popen(["git", "-C", str(REPO), "archive", "--format=tar", rev], stdout=subprocess.PIPE)
    with tarfile.open(fileobj=archive.stdout, mode="r|") as tar:
        for member in tar:
            if member.isfile():
                yield member.name, tar.extractfile(member).read()
    if archive.wait() != 0:
        raise SystemExit(f"git archive {rev} failed")


def sync_sources(files, src):
    wanted, changed = set(), 0
    for name, data in files:
        wanted.add(name)
        changed += write_if_changed(src / name, data)
    removed = 0
    for path in sorted(src.rglob("*"), reverse=True):
        relative = path.relative_to(src).as_posix()
        if path.is_file() and relative not in wanted:
            path.unlink()
            removed += 1
        elif path.is_dir() and not any(path.iterdir()):
            path.rmdir()
    return changed, removed


# ---------------------------------------------------------------------------------------------
# Build and tests


def run(command, log, **kwargs):
    """Runs `command` in its own process group, so that an interrupt can end all of it."""
    with subprocess.Popen(command, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, start_new_session=True,
                          **kwargs) as process:
        try:
            output = process.communicate()[0].decode(errors="replace")
        except BaseException:
            os.killpg(process.pid, signal.SIGTERM)
            process.wait()
            raise
    log.write(output)
    log.flush()
    return process.returncode, output


def configure(src, build, log):
    if (build / "build.ninja").is_file():
        return
    command = ["cmake", "-S", str(src), "-B", str(build), "-G", "Ninja", "-DCMAKE_BUILD_TYPE=Debug",
               "-DCMAKE_CXX_FLAGS_DEBUG=-O0", "-DSWIFTLANE_BENCH=OFF"]
    if shutil.which("ccache"):
        command += ["-DCMAKE_CXX_COMPILER_LAUNCHER=ccache", "-DCMAKE_C_COMPILER_LAUNCHER=ccache"]
    code, output = run(command, log)
    if code != 0:
        raise SystemExit(f"configuring the scratch build failed:\n{output[-3000:]}")


def build_ok(build, jobs, log):
    code, _ = run(["cmake", "--build", str(build), "-j", str(jobs)], log)
    return code == 0


FAILED_LINE = re.compile(r"^\s*\d+\s+-\s+(\S+)\s+\((.*)\)\s*$")


def failing_tests(build, jobs, runtime, log):
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen", XDG_RUNTIME_DIR=runtime)
    code, output = run(["ctest", "-j", str(jobs), "--timeout", "120"], log, cwd=build, env=env)
    failed, listing = [], False
    for line in output.splitlines():
        if line.startswith("The following tests FAILED"):
            listing = True
        elif listing:
            match = FAILED_LINE.match(line)
            if match:
                failed.append(match.group(1))
            elif line.strip():
                listing = False
    if code != 0 and not failed:
        failed.append("(ctest failed without naming a test)")
    return failed


# ---------------------------------------------------------------------------------------------
# Report


def rate_text(mutants):
    killed = sum(m.result == "killed" for m in mutants)
    survived = sum(m.result == "survived" for m in mutants)
    no_build = sum(m.result == "no build" for m in mutants)
    judged = killed + survived
    rate = f"{100.0 * killed / judged:.1f}%" if judged else "n/a"
    return f"rate {killed}/{judged} = {rate} killed; {survived} survived, {no_build} did not build"


def table(mutants, source, seconds):
    lines = [f"Mutation check of {source}: {rate_text(mutants)}; {seconds / 60:.1f} min", "",
             "| id | file | fault | result | killed by |", "|---|---|---|---|---|"]
    for m in mutants:
        fault = m.fault.replace("|", "\\|")
        lines.append(f"| {m.id} | {m.file} | {fault} | {m.result or 'not run'} | {', '.join(m.killers)} |")
    return "\n".join(lines) + "\n"


def describe_source(rev):
    if rev:
        return f"revision {rev} ({git('rev-parse', '--short', rev + '^{commit}').decode().strip()})"
    head = git("rev-parse", "--short", "HEAD").decode().strip()
    dirty = git("status", "--porcelain", "--untracked-files=no").strip()
    return f"the working tree (HEAD {head}{', with changes' if dirty else ''})"


# ---------------------------------------------------------------------------------------------


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--rev", help="check this committed revision instead of the working tree")
    parser.add_argument("--only", help="comma-separated mutant ids to run")
    parser.add_argument("--jobs", type=int, default=os.cpu_count() or 2, help="build and test jobs")
    parser.add_argument("--catalogue", default="tests/mutants.txt",
                        help="the working tree's catalogue, also for --rev (default tests/mutants.txt)")
    parser.add_argument("--check", action="store_true",
                        help="only check the catalogue against the sources; build nothing")
    args = parser.parse_args()

    if args.check:
        try:
            mutants = parse_catalogue((REPO / args.catalogue).read_text(encoding="utf-8"), args.catalogue)
            read = reader_of_revision(args.rev) if args.rev else reader_of_tree(REPO)
            check_against_sources(mutants, read, args.catalogue)
        except CatalogueError as error:
            print(f"Catalogue error:\n{error}", file=sys.stderr)
            return 2
        print(f"{len(mutants)} mutants, each old text found exactly once in {describe_source(args.rev)}")
        return 0

    work = REPO / "build-mutation"
    src, build = work / "src", work / "build"
    src.mkdir(parents=True, exist_ok=True)
    started = time.monotonic()

    print(f"Copying {'revision ' + args.rev if args.rev else 'the working tree'} to {src} ...", flush=True)
    changed, removed = sync_sources(revision_files(args.rev) if args.rev else working_tree_files(), src)
    print(f"  {changed} file(s) updated, {removed} removed", flush=True)

    try:
        mutants = parse_catalogue((REPO / args.catalogue).read_text(encoding="utf-8"), args.catalogue)
        if args.only:
            wanted = [name.strip() for name in args.only.split(",") if name.strip()]
            unknown = sorted(set(wanted) - {m.id for m in mutants})
            if unknown:
                raise CatalogueError(f"--only names unknown mutants: {', '.join(unknown)}")
            mutants = [m for m in mutants if m.id in wanted]
        check_against_sources(mutants, reader_of_tree(src), args.catalogue)
    except CatalogueError as error:
        print(f"Catalogue error:\n{error}", file=sys.stderr)
        return 2

    source = describe_source(args.rev)
    log_path = work / "log.txt"
    with open(log_path, "w", encoding="utf-8") as log, tempfile.TemporaryDirectory(prefix="mutation-") as runtime:
        os.chmod(runtime, 0o700)
        configure(src, build, log)
        print("Building and testing the unchanged sources ...", flush=True)
        if not build_ok(build, args.jobs, log):
            print(f"The unchanged sources do not build; see {log_path}", file=sys.stderr)
            return 1
        baseline = set(failing_tests(build, args.jobs, runtime, log))
        if baseline:
            print(f"  failing before any mutation (not counted as kills): {', '.join(sorted(baseline))}")

        interrupted = False
        for number, mutant in enumerate(mutants, 1):
            path = src / mutant.file
            original = path.read_bytes()
            began = time.monotonic()
            try:
                log.write(f"\n===== {mutant.id}: {mutant.fault}\n")
                path.write_bytes(original.decode("utf-8").replace(mutant.old, mutant.new, 1).encode("utf-8"))
                if not build_ok(build, args.jobs, log):
                    mutant.result = "no build"
                else:
                    mutant.killers = [t for t in failing_tests(build, args.jobs, runtime, log) if t not in baseline]
                    mutant.result = "killed" if mutant.killers else "survived"
            except KeyboardInterrupt:
                interrupted = True
            finally:
                path.write_bytes(original)  # a new time, so the next build compiles it again
            if interrupted:
                print("\nInterrupted; the sources are restored.", file=sys.stderr)
                break
            mutant.seconds = time.monotonic() - began
            killers = f" ({', '.join(mutant.killers)})" if mutant.killers else ""
            print(f"[{number}/{len(mutants)}] {mutant.id}: {mutant.result}{killers}  [{mutant.seconds:.0f} s]",
                  flush=True)
            # Kept current, so a run cut short still leaves the table of what finished.
            (work / "report.md").write_text(table(mutants, source, time.monotonic() - started), encoding="utf-8")

    report = table(mutants, source, time.monotonic() - started)
    (work / "report.md").write_text(report, encoding="utf-8")
    print()
    print(report)
    print(f"Table written to {work / 'report.md'}; build and test output in {log_path}")
    return 130 if interrupted else 0


def interrupt(signum, frame):
    raise KeyboardInterrupt


if __name__ == "__main__":
    # A run started in the background ignores Ctrl-C; kill then stops it as cleanly, sources restored.
    signal.signal(signal.SIGINT, interrupt)
    signal.signal(signal.SIGTERM, interrupt)
    try:
        sys.exit(main())
    except KeyboardInterrupt:
        sys.exit(130)
