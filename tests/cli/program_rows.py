#!/usr/bin/env python3
"""program_rows.py TOBIREX SAMPLE_FILE MAKE_SAMPLE [ROW ...]: runs the real program once per row of rows.json.

Each row runs in a fresh folder that holds its input files and the home folder (so the desktop is
inside it), with no display unless the row sets one, stdin not a terminal, and a time limit. A row may
convert once "first" (an older site, or one to compare with: "same_as"), run twice at once ("twice"), stop
its run by a "signal" once the site being built beside the output folder holds pages, and convert "then"
again, which must succeed; a stopped run must leave the old site as it was. A fake
xdg-open first on PATH records what the program asks the desktop to open. A row passes when the
exit status, the expected text and the pages match and nothing outside the output folder changed:
a row without "pages" expects no site at all, so nothing under its folder may change. A row may make
"folders" first (with a mode and an "other" group), run from a "cwd", run as the user nobody ("as_nobody",
when run as root; "only": the row is skipped otherwise), unset a variable ("env" value null), put files
into the output folder "during" the run (they must be there afterwards), expect the output folder's
"mode" and group afterwards, name site pages that must be "absent", and write its standard output into a
terminal ("tty": its columns; the terminal ends lines with CR LF). A row may "serve" files from a local
download server (TOBIREX_DOWNLOAD_BASE), name the files it expects "written" outside the output folder
and those it expects "gone" afterwards, and the number of racer rows a "table" of --export holds, read
with Python's csv or sqlite3."""
import concurrent.futures, contextlib, csv, fcntl, functools, hashlib, io, json, os, pty, random, re, signal, sqlite3, \
    stat, struct, subprocess, sys, tempfile, termios, threading, time
from pathlib import Path

TIME_LIMIT = 60  # seconds; the slowest row converts the 1,600-racer sample
ROSTER, INDEX = "ファン手帳.html", "索引.html"
DATA, MAKER = Path(__file__).resolve().parents[1] / "data", ""  # MAKER: the sample's generator, from the command line
SERVER = DATA.parent / "support" / "download_server.py"
OPENER = '#!/bin/sh\nprintf "%s\\n" "$*" >> "$(dirname "$0")/opened.txt"\n'


def content(recipe, sample):
    """The bytes a recipe names; "line" is the sample's first record."""
    kind, _, arg = recipe.partition(":")
    line = sample.split(b"\n", 1)[0] + b"\n"
    if kind == "put":  # the record with bytes overwritten at an offset
        offset, text = arg.split(":", 1)
        raw, offset = text.encode("cp932"), int(offset)
        return line[:offset] + raw + line[offset + len(raw):]
    return {"sample": lambda: sample, "line": lambda: line, "text": lambda: arg.encode(),
            "binary": lambda: random.Random(2510).randbytes(int(arg)),  # the same bytes on every machine
            "letters": lambda: b"x" * int(arg),
            "longline": lambda: line.rstrip(b"\r\n") + b"x" * int(arg),  # a record running on and on
            "data": lambda: (DATA / arg).read_bytes(), "made": lambda: made(arg),
            "utf8": lambda: content(arg, sample).decode("cp932").encode()}[kind]()  # as an editor saves it


@contextlib.contextmanager
def serving(row, top, sample):
    """The address of a download server on 127.0.0.1 over the row's "serve" files, or None."""
    if "serve" not in row:
        yield None
        return
    plant(Path(top), row["serve"], sample)
    server = subprocess.Popen([sys.executable, str(SERVER)], cwd=top, stdout=subprocess.PIPE)
    try:
        yield "http://127.0.0.1:" + server.stdout.readline().decode().split()[-1]
    finally:
        server.kill()
        server.wait()


@functools.cache
def made(count):  # a fan file of count racers from the generator of the sample
    return subprocess.run([MAKER, "--count", count, "/dev/stdout"], check=True, capture_output=True).stdout


def other_group():
    """A group other than the user's own that the user may give a folder, or None."""
    return 100 if os.geteuid() == 0 else next((g for g in os.getgroups() if g != os.getgid()), None)


def plant(folder, files, sample):
    for name, recipes in files.items():
        (folder / name).parent.mkdir(parents=True, exist_ok=True)
        (folder / name).write_bytes(b"".join(content(r, sample) for r in recipes))


def snapshot(root, skip):
    """Every path under root, not following links: its link target, or its mode and content digest."""
    seen = {}
    for folder, dirs, files in os.walk(root):
        dirs[:] = [name for name in dirs if os.path.join(folder, name) not in skip]
        for path in (os.path.join(folder, name) for name in dirs + files if os.path.join(folder, name) not in skip):
            info = os.lstat(path)
            if stat.S_ISLNK(info.st_mode):
                seen[path] = "link to " + os.readlink(path)
            elif stat.S_ISDIR(info.st_mode):
                seen[path] = f"folder {info.st_mode:o}"
            else:
                seen[path] = f"file {info.st_mode:o} " + hashlib.sha256(Path(path).read_bytes()).hexdigest()
    return seen


def changes(before, after, root, under=""):
    """A line for each of the first 20 paths under `under` that differ between two snapshots, and their count."""
    lines = [f"changed {os.path.relpath(p, root)}: {before.get(p, 'absent')} -> {after.get(p, 'absent')}"
            for p in sorted(before.keys() | after.keys()) if p.startswith(under) and before.get(p) != after.get(p)]
    return lines[:20] + [f"{len(lines)} paths changed"] * (len(lines) > 20)


def drain(fd, shown):
    with contextlib.suppress(OSError):  # EIO once the program's side of the terminal is closed
        while chunk := os.read(fd, 65536):
            shown.append(chunk)
    os.close(fd)


def finish(run):
    """The exit status, stdout and stderr of a started run, which is killed after the time limit."""
    try:  # the pipes close only when the program and any opener it started have ended
        out, err = run.communicate(timeout=TIME_LIMIT)
    finally:
        run.kill()  # only when still running
    if hasattr(run, "reader"):  # standard output went to a terminal
        run.reader.join(TIME_LIMIT)
        out = b"".join(run.shown)
    return run.returncode, out.decode(errors="replace"), err.decode(errors="replace")


def started(args, tty, **how):
    """A run started with standard output into a pipe, or into a terminal of `tty` columns that a thread reads."""
    if not tty:
        return subprocess.Popen(args, stdout=subprocess.PIPE, **how)
    ours, theirs = pty.openpty()
    fcntl.ioctl(theirs, termios.TIOCSWINSZ, struct.pack("HHHH", 24, tty, 0, 0))
    run = subprocess.Popen(args, stdout=theirs, **how)
    os.close(theirs)
    run.shown = []
    run.reader = threading.Thread(target=drain, args=(ours, run.shown))
    run.reader.start()
    return run


def run_row(row, exe, sample):
    """The row's failures, as lines of text; none when it passes."""
    with tempfile.TemporaryDirectory(prefix="tobirex-row-") as top, serving(row, top, sample) as base:
        root, tools = Path(top, "root"), Path(top, "tools")
        (root / "home").mkdir(parents=True)
        tools.mkdir()
        (tools / "xdg-open").write_text(OPENER)
        (tools / "xdg-open").chmod(0o755)
        places = {"tmp": str(root), "home": str(root / "home"), "golden": str(DATA.parent / "golden")}
        fill = lambda text: re.sub(r"\{(\w+)\}", lambda m: places[m[1]], text)
        places["out"] = out = fill(row.get("out", "{tmp}/out"))
        plant(root, row.get("files", {}), sample)
        for name, target in row.get("links", {}).items():
            (root / name).symlink_to(target)
        group = other_group()
        for name, how in row.get("folders", {}).items():
            (root / name).mkdir(parents=True, exist_ok=True)
            if how.get("group") == "other" and group is not None:
                os.chown(root / name, -1, group)
        for name, how in reversed(row.get("folders", {}).items()):  # a read-only parent last
            (root / name).chmod(int(how.get("mode", "755"), 8))
        nobody = {"user": 65534, "group": 65534, "extra_groups": []} if row.get("as_nobody") and os.geteuid() == 0 else {}
        if nobody:  # nobody must reach the files; the output folder is nobody's own
            for path in (Path(top), root, root / "home"):
                path.chmod(0o755)
            if os.path.exists(out):
                os.chown(out, 65534, 65534)
        # The output folder is the entry its path names: a linked parent is followed, a link in its place is not.
        entry = os.path.join(os.path.realpath(os.path.dirname(out)), os.path.basename(out))
        skip = {entry, os.path.realpath(entry)} if "pages" in row else set()  # a linked output folder: the link's target
        skip |= {str(root / name) for name in row.get("written", []) + row.get("gone", [])}

        env = {"HOME": str(root / "home"), "PATH": f"{tools}:/usr/local/bin:/usr/bin:/bin", "LANG": "C.UTF-8"}
        env.update({k: v for k, v in os.environ.items() if k in ("ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS")})
        env.update(row.get("env", {}) | ({"TOBIREX_DOWNLOAD_BASE": base} if base else {}))
        env = {k: v for k, v in env.items() if v is not None}  # null: the variable is not set
        start = lambda args: started([exe] + [fill(a) for a in args], row.get("tty"), cwd=fill(row.get("cwd", str(root))),
                                     env=env, stdin=subprocess.DEVNULL, stderr=subprocess.PIPE, **nobody)
        staged = f".{Path(entry).name}.tobirex-new-*/*/*.html"  # pages of the site being built beside the output folder
        try:
            if "first" in row and finish(start(row["first"]))[0] != 0:
                return ["the first conversion failed"]
            before = snapshot(root, skip)
            runs = [start(row["args"]) for _ in range(2 if row.get("twice") else 1)]
            while ("signal" in row or "during" in row) and runs[0].poll() is None and \
                    not any(Path(entry).parent.glob(staged)):
                time.sleep(0.01)
            if "signal" in row:
                runs[0].send_signal(getattr(signal, row["signal"]))
            plant(Path(out), row.get("during", {}), sample)  # the user, while pages are written
            results = [finish(run) for run in runs]
            stopped = changes(before, snapshot(root, skip), root, entry + os.sep) if "then" in row else []
            results += [finish(start(row["then"]))] if "then" in row else []
        except subprocess.TimeoutExpired:
            return [f"still running after {TIME_LIMIT} s"]
        out_text, err_text = results[0][1:]

        failures = [f"run {n}: exit status {result[0]}, expected {want}" for n, (result, want) in
                    enumerate(zip(results, [row["exit"]] * len(runs) + [0]), 1) if result[0] != want]
        failures += [f"after the stopped run: {line}" for line in stopped]
        for stream, text in (("stdout", out_text), ("stderr", err_text)):
            failures += [f"{stream} lacks {fill(s)!r}" for s in row.get(stream, []) if fill(s) not in text]
            failures += [f"{stream} shows {fill(s)!r}" for s in row.get(stream + "_not", []) if fill(s) in text]
        if "pages" in row:
            site = Path(out)
            pages = [p for p in site.rglob("*.html") if p.parent != site] if site.is_dir() else []
            failures += [f"{len(pages)} racer pages, expected {row['pages']}"] if len(pages) != row["pages"] else []
            failures += [f"no {page}" for page in (ROSTER, INDEX) if not (site / page).is_file()]
            for name, piece in row.get("contains", {}).items():
                if not (site / name).is_file() or piece.encode("cp932") not in (site / name).read_bytes():
                    failures.append(f"{name} lacks {piece!r}")
            failures += [f"{name} is still there" for name in row.get("absent", []) if (site / name).exists()]
            for page in site.rglob("*") if "lacks" in row else []:
                if page.is_file() and row["lacks"].encode().lower() in page.read_bytes().lower():
                    failures.append(f"{page.relative_to(site)} holds {row['lacks']!r} from the file")
            if "same_as" in row:  # byte for byte the site of the other conversion
                same = {os.path.join(out, os.path.relpath(p, fill(row["same_as"]))): v
                        for p, v in snapshot(fill(row["same_as"]), set()).items()}
                failures += changes(same, snapshot(out, set()), root)
        failures += changes(before, snapshot(root, skip), root)
        failures += [f"no {name}" for name in row.get("written", []) if not (root / name).is_file()]
        for name, count in row.get("table", {}).items():
            path = root / name
            got = None if not path.is_file() else sqlite3.connect(path).execute("SELECT count(*) FROM racers").fetchone()[0] \
                if path.suffix != ".csv" else len(list(csv.reader(io.StringIO(path.read_text("utf-8-sig"), newline="")))) - 1
            failures += [f"{name} holds {got} racer rows, expected {count}"] if got != count else []
        failures += [f"{name} is still there" for name in row.get("gone", []) if os.path.lexists(root / name)]
        failures += [f"the link {name} was replaced" for name in row.get("links", {}) if not (root / name).is_symlink()]
        for name, recipes in row.get("during", {}).items():
            if not (Path(out) / name).is_file() or (Path(out) / name).read_bytes() != b"".join(content(r, sample) for r in recipes):
                failures.append(f"{name}, put into the output folder during the run, is gone")
        if "mode" in row:
            info = os.stat(out)
            if f"{info.st_mode & 0o7777:o}" != row["mode"] or (group is not None and info.st_gid != group):
                failures.append(f"output folder mode {info.st_mode & 0o7777:o} group {info.st_gid}, expected {row['mode']} {group}")
        opened = (tools / "opened.txt").read_text().splitlines() if (tools / "opened.txt").exists() else []
        if opened != [fill(p) for p in row.get("opened", [])]:
            failures.append(f"xdg-open called with {opened}, expected {[fill(p) for p in row.get('opened', [])]}")
        return failures + ([f"stdout was:\n{out_text[-600:]}stderr was:\n{err_text[-600:]}"] if failures else [])


def main(exe, sample_file, maker, *only):
    global MAKER
    MAKER = maker
    rows = json.loads(Path(__file__).with_name("rows.json").read_text())
    sample, failed = Path(sample_file).read_bytes(), 0
    rows = [r for r in rows if not only or r["name"] in only]
    for row in [r for r in rows if r.get("as_nobody") == "only" and os.geteuid() != 0]:
        print("SKIP " + row["name"] + " (runs only as root, as the user nobody)", flush=True)
        rows.remove(row)
    # Rows are independent, each in its own folder; most of their time is waiting.
    with concurrent.futures.ThreadPoolExecutor(4) as pool:
        results = pool.map(lambda row: run_row(row, exe, sample), rows)
    for row, failures in zip(rows, results):
        failed += bool(failures)
        print(("FAIL " if failures else "PASS ") + row["name"] + "".join("\n    " + f for f in failures), flush=True)
    print(f"{failed} of {len(rows)} rows failed" if failed else "all rows passed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
