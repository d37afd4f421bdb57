#!/usr/bin/env python3
"""Every entry of the host interface has a row in the porting map.

  porting_map_test.py SOURCE_DIR              check docs/porting.md
  porting_map_test.py SOURCE_DIR --self-test  show that the check catches what it must

The host interface is the C structs of function pointers in source/host/host_*.h;
an entry is a member declared as "(*name)". The map names an entry in the first
cell of a table row as `Struct.entry`, e.g. `HostUndoTable.addStep`. A row for an
entry the headers do not have (yet) is allowed: the map also describes what the
next changes add. A row naming a struct the headers do not have is a typo.
"""
import pathlib
import re
import sys

STRUCT = re.compile(r"typedef\s+struct\s+(\w+)\s*\{(.*?)\}\s*\w+\s*;", re.S)
MEMBER = re.compile(r"\(\s*\*\s*(\w+)\s*\)")
ROW = re.compile(r"^\s*\|\s*`(Host\w+)\.(\w+)`")


def strip_comments(text):
    text = re.sub(r"/\*.*?\*/", " ", text, flags=re.S)
    return re.sub(r"//[^\n]*", " ", text)


def header_entries(headers):
    """{struct: [entry, ...]} of every struct in headers ({name: text}) that has entries."""
    entries = {}
    for text in headers.values():
        for struct in STRUCT.finditer(strip_comments(text)):
            names = []
            # One declaration per member; a function-pointer parameter is not a member.
            for declaration in struct.group(2).split(";"):
                member = MEMBER.search(declaration)
                if member:
                    names.append(member.group(1))
            if names:
                entries[struct.group(1)] = names
    return entries


def map_rows(text):
    """[(struct, entry, line number)] of the map's rows that name an entry."""
    rows = []
    for number, line in enumerate(text.splitlines(), 1):
        match = ROW.match(line)
        if match:
            rows.append((match.group(1), match.group(2), number))
    return rows


def problems(entries, rows):
    named = {(struct, entry) for struct, entry, _ in rows}
    found = []
    for struct, names in sorted(entries.items()):
        for entry in names:
            if (struct, entry) not in named:
                found.append(f"no row for {struct}.{entry}")
    for struct, entry, number in rows:
        if struct not in entries:
            found.append(f"line {number}: {struct}.{entry} names no struct of the host interface")
    return found


def read_interface(source):
    return {path.name: path.read_text() for path in sorted((source / "source" / "host").glob("host_*.h"))}


def check(source):
    entries = header_entries(read_interface(source))
    rows = map_rows((source / "docs" / "porting.md").read_text())
    found = problems(entries, rows)
    for problem in found:
        print(problem)
    count = sum(len(names) for names in entries.values())
    print(f"{count} entries in {len(entries)} structs, {len(rows)} rows, {len(found)} without a row or misnamed")
    return 0 if not found else 1


def self_test(source):
    """The check on doctored copies of the map and the headers."""
    headers = read_interface(source)
    text = (source / "docs" / "porting.md").read_text()
    entries = header_entries(headers)
    rows = map_rows(text)
    failures = []

    def expect(what, got, wanted):
        if got != wanted:
            failures.append(f"{what}: got {got}, wanted {wanted}")

    expect("the real map", problems(entries, rows), [])

    # Each row taken out alone: its entry, if it is in the interface and has no
    # other row, is reported, and nothing else.
    lines = text.splitlines()
    for struct, entry, number in rows:
        doctored = map_rows("\n".join(lines[: number - 1] + lines[number:]))
        others = [r for r in rows if (r[0], r[1]) == (struct, entry) and r[2] != number]
        wanted = [f"no row for {struct}.{entry}"] if entry in entries.get(struct, []) and not others else []
        expect(f"without line {number}", problems(entries, doctored), wanted)

    # An entry added to a struct, declared over lines and with a function
    # pointer among its parameters, is reported by its own name only.
    ghost = "    void (*ghost)(HostDocument* document,\n                  void (*callback)(void* context));\n"
    doctored = dict(headers)
    doctored["host_scene_tables.h"] = headers["host_scene_tables.h"].replace(
        "} HostUndoTable;", ghost + "} HostUndoTable;")
    expect("an entry added to HostUndoTable", problems(header_entries(doctored), rows),
           ["no row for HostUndoTable.ghost"])

    # A commented-out entry is none.
    doctored["host_scene_tables.h"] = headers["host_scene_tables.h"].replace(
        "} HostUndoTable;", "    /* void (*ghost)(void); */\n} HostUndoTable;")
    expect("a commented-out entry", problems(header_entries(doctored), rows), [])

    # A row for an entry being added is right whether or not the header has it yet.
    document = [n for n in entries["HostDocumentTable"] if n != "firstRenderSettings"]
    for names in (document, document + ["firstRenderSettings"]):
        expect(f"HostDocumentTable with {len(names)} entries",
               problems(dict(entries, HostDocumentTable=names), rows), [])

    # A misspelt struct name is reported, not taken for a planned entry.
    expect("a misspelt struct", problems(entries, rows + [("HostUndoTabel", "addStep", 0)]),
           ["line 0: HostUndoTabel.addStep names no struct of the host interface"])

    for failure in failures:
        print(failure)
    print(f"self-test: {len(rows)} rows taken out one by one, {len(failures)} failures")
    return 0 if not failures else 1


def main(argv):
    if len(argv) not in (2, 3) or (len(argv) == 3 and argv[2] != "--self-test"):
        print(__doc__)
        return 2
    source = pathlib.Path(argv[1])
    return self_test(source) if len(argv) == 3 else check(source)


if __name__ == "__main__":
    sys.exit(main(sys.argv))
