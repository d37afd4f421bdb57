#!/usr/bin/env python3
"""Every name of the host interface has a true-looking row in the porting map.

  porting_map_test.py SOURCE_DIR              check docs/porting.md
  porting_map_test.py SOURCE_DIR --self-test  show that the check catches what it must

The host interface is source/host/host_*.h: the C structs of function pointers
(an entry is a member declared as "(*name)"), the file-scope function-pointer
typedefs (the entry point's and the dialog's message function), and the HOST_
constants. The entry point's messages and answers are the HOST_MODULE_
constants; they have their rows in the map's entry-point table.

A row of the map is a table line whose first cell names, in backquotes, an
entry as `Struct.entry`, a constant as `HOST_NAME` or a typedef or struct as
`HostName`; the first such name is what the row is about. The check fails,
naming the line, when a name has no row, when a row names something the
headers do not have, when a row's application cell (the second) is empty or
only a dash, and when an HTML comment or a fenced block hides part of the map:
a row there would be read by no one, so it is no row.
"""
import pathlib
import re
import sys

STRUCT = re.compile(r"typedef\s+struct\s+(\w+)\s*\{(.*?)\}\s*\w+\s*;", re.S)
MEMBER = re.compile(r"\(\s*\*\s*(\w+)\s*\)")
CONSTANT = re.compile(r"^\s*#\s*define\s+(HOST_\w+)", re.M)
TYPEDEF_NAME = re.compile(r"\btypedef\s+struct\s+(\w+)")
FUNCTION_TYPEDEF = re.compile(r"\btypedef\s+[^;{}()]*\(\s*\*\s*(\w+)\s*\)\s*\(")
NAME = re.compile(r"`([A-Za-z_]\w*(?:\.\w+)?)`")
INTERFACE_NAME = re.compile(r"^(?:Host\w+(?:\.\w+)?|HOST_\w+)$")
DASHES = re.compile(r"^[\s\-\u2012\u2013\u2014\u2015]*$")
MESSAGE_PREFIX = "HOST_MODULE_"
ENTRY_POINT_HEADING = "## The entry point"


def strip_comments(text):
    text = re.sub(r"/\*.*?\*/", " ", text, flags=re.S)
    return re.sub(r"//[^\n]*", " ", text)


class Interface:
    """What the headers ({file name: text}) declare."""

    def __init__(self, headers):
        self.entries = {}  # struct -> [entry, ...]
        self.constants = []
        self.function_types = []
        self.types = set()
        for text in headers.values():
            code = strip_comments(text)
            for struct in STRUCT.finditer(code):
                names = []
                # One declaration per member; a function-pointer parameter is not a member.
                for declaration in struct.group(2).split(";"):
                    member = MEMBER.search(declaration)
                    if member:
                        names.append(member.group(1))
                if names:
                    self.entries[struct.group(1)] = names
            self.constants += CONSTANT.findall(code)
            self.types.update(TYPEDEF_NAME.findall(code))
            # File scope only: a struct's members are entries, not typedefs.
            self.function_types += FUNCTION_TYPEDEF.findall(STRUCT.sub(" ", code))
        self.types.update(self.function_types)

    def has(self, name):
        if "." in name:
            struct, entry = name.split(".", 1)
            return entry in self.entries.get(struct, [])
        return name in self.constants or name in self.types

    def required(self):
        """[(name, section)]: every name that needs a row; section None: anywhere."""
        names = [(f"{s}.{e}", None) for s, entries in sorted(self.entries.items()) for e in entries]
        names += [(t, None) for t in self.function_types]
        for constant in self.constants:
            names.append((constant, ENTRY_POINT_HEADING if constant.startswith(MESSAGE_PREFIX) else None))
        return names


class Row:
    def __init__(self, line, names, cells, section):
        self.line = line
        self.names = names  # the interface names of its first cell, in order
        self.cells = cells
        self.section = section

    @property
    def subject(self):
        return self.names[0]


def cells_of(line):
    body = line.strip()
    body = body[1:] if body.startswith("|") else body
    body = body[:-1] if body.endswith("|") else body
    return [cell.strip() for cell in re.split(r"(?<!\\)\|", body)]


def read_map(text):
    """(rows, hidden): the map's rows, and a problem for each part hidden from readers."""
    rows, hidden = [], []
    section = ""
    comment_from = fence_from = None
    fence_hides_row = False
    for number, line in enumerate(text.splitlines(), 1):
        if fence_from is not None:
            if line.lstrip().startswith(("```", "~~~")):
                if fence_hides_row:
                    hidden.append(f"line {fence_from}: a fenced block hides table rows")
                fence_from, fence_hides_row = None, False
            elif line.lstrip().startswith("|"):
                fence_hides_row = True
            continue
        visible = ""
        rest = line
        while rest:
            if comment_from is not None:
                end = rest.find("-->")
                if end < 0:
                    rest = ""
                else:
                    rest, comment_from = rest[end + 3:], None
                continue
            start = rest.find("<!--")
            if start < 0:
                visible += rest
                rest = ""
            else:
                visible += rest[:start]
                rest = rest[start + 4:]
                comment_from = number
                hidden.append(f"line {number}: an HTML comment hides part of the map")
        if visible.lstrip().startswith(("```", "~~~")):
            fence_from = number
            continue
        if visible.startswith("#"):
            section = visible.strip()
            continue
        if not visible.lstrip().startswith("|"):
            continue
        cells = cells_of(visible)
        names = [n for n in NAME.findall(cells[0]) if INTERFACE_NAME.match(n)]
        if names:
            rows.append(Row(number, names, cells, section))
    if fence_from is not None and fence_hides_row:
        hidden.append(f"line {fence_from}: a fenced block hides table rows")
    return rows, hidden


def problems(interface, rows, hidden=()):
    found = list(hidden)
    for name, section in interface.required():
        holders = [r for r in rows if r.subject == name]
        if section is not None:
            if not any(r.section.startswith(section) for r in holders):
                found.append(f"no row for {name} in the table of '{section}'")
        elif not holders:
            found.append(f"no row for {name}")
    for row in rows:
        for name in row.names:
            if not interface.has(name):
                found.append(f"line {row.line}: `{row.subject}` names {name}, which the headers do not have")
        if len(row.cells) < 2 or DASHES.match(row.cells[1]):
            found.append(f"line {row.line}: `{row.subject}` has no application cell")
    return found


def read_interface(source):
    return {path.name: path.read_text() for path in sorted((source / "source" / "host").glob("host_*.h"))}


def check(source):
    interface = Interface(read_interface(source))
    rows, hidden = read_map((source / "docs" / "porting.md").read_text())
    found = problems(interface, rows, hidden)
    for problem in found:
        print(problem)
    count = sum(len(names) for names in interface.entries.values())
    print(f"{count} entries, {len(interface.constants)} constants, {len(interface.function_types)} "
          f"function types; {len(rows)} rows, {len(found)} problems")
    return 0 if not found else 1


def self_test(source):
    """The check on doctored copies of the map and the headers."""
    headers = read_interface(source)
    text = (source / "docs" / "porting.md").read_text()
    interface = Interface(headers)
    rows, hidden = read_map(text)
    lines = text.splitlines()
    failures = []

    def expect(what, got, wanted):
        if got != wanted:
            failures.append(f"{what}: got {got}, wanted {wanted}")

    def map_problems(doctored_text, doctored_interface=interface):
        return problems(doctored_interface, *read_map(doctored_text))

    def header_problems(file, old, new):
        doctored = dict(headers)
        if old not in doctored[file]:
            failures.append(f"{file} no longer holds {old!r}: the self-test needs a new anchor")
        doctored[file] = doctored[file].replace(old, new, 1)
        return problems(Interface(doctored), rows, hidden)

    def row_of(name):
        return next(r for r in rows if r.subject == name)

    def with_line(number, new):
        return "\n".join(lines[: number - 1] + [new] + lines[number:])

    expect("the real map", problems(interface, rows, hidden), [])
    # What the interface is known to hold, so that a reader that went blind is seen.
    expect("the function-pointer typedefs", sorted(interface.function_types),
           ["HostDialogMessageFn", "HostModuleMain"])
    for name in ("HOST_UNDO_MOVE", "HOST_LAYOUT_FILL_WIDTH", "HOST_KEY_ESCAPE", "HOST_MODULE_BIND"):
        expect(f"{name} among the constants", name in interface.constants, True)

    # Each row taken out alone: what it was about, if no other row is about it,
    # is reported, and nothing else.
    for row in rows:
        others = [r for r in rows if r.subject == row.subject and r.line != row.line]
        required = dict(interface.required())
        section = required.get(row.subject)
        if section is not None:
            others = [r for r in others if r.section.startswith(section)]
            wanted = [f"no row for {row.subject} in the table of '{section}'"]
        else:
            wanted = [f"no row for {row.subject}"]
        if others or row.subject not in required:
            wanted = []
        expect(f"without line {row.line}", map_problems("\n".join(lines[: row.line - 1] + lines[row.line:])), wanted)

    # Names added to the headers need rows; commented-out ones are none.
    cases = [
        ("an entry over lines, a function pointer among its parameters", "host_scene_tables.h", "} HostUndoTable;",
         "    void (*ghost)(HostDocument* document,\n                  void (*callback)(void* context));\n"
         "} HostUndoTable;", ["no row for HostUndoTable.ghost"]),
        ("a commented-out entry", "host_scene_tables.h", "} HostUndoTable;",
         "    /* void (*ghost)(void); */\n} HostUndoTable;", []),
        ("a constant", "host_tables.h", "#define HOST_KEY_ESCAPE 0x1B",
         "#define HOST_KEY_ESCAPE 0x1B\n#define HOST_KEY_GHOST 0x20", ["no row for HOST_KEY_GHOST"]),
        ("a commented-out constant", "host_tables.h", "#define HOST_KEY_ESCAPE 0x1B",
         "#define HOST_KEY_ESCAPE 0x1B\n/* #define HOST_KEY_GHOST 0x20 */\n// #define HOST_KEY_GHOST2 0x21", []),
        ("an entry-point message", "host_kernel.h", "#define HOST_MODULE_MESSAGE 6",
         "#define HOST_MODULE_MESSAGE 6\n#define HOST_MODULE_GHOST 7",
         [f"no row for HOST_MODULE_GHOST in the table of '{ENTRY_POINT_HEADING}'"]),
        ("a function-pointer typedef", "host_kernel.h", "#define HOST_MODULE_BIND 1",
         "typedef void (*HostGhostFn)(void* user);\n#define HOST_MODULE_BIND 1", ["no row for HostGhostFn"]),
    ]
    for what, file, old, new, wanted in cases:
        expect(f"{what} added", header_problems(file, old, new), wanted)

    # A row about something the headers do not have is a typo or a leftover.
    end = len(lines) + 1
    for name in ("HostUndoTable.ghost", "HostUndoTabel.addStep", "HOST_UNDO_GHOST", "HostGhostTable"):
        doctored = text.rstrip("\n") + f"\n| `{name}` | something | | |\n"
        expect(f"a row for {name}", map_problems(doctored),
               [f"line {end}: `{name}` names {name}, which the headers do not have"])

    # A row whose application cell says nothing.
    undo = row_of("HostUndoTable.cancelGroup")
    for blank in ("", "   ", "-", "--", "\u2014", " \u2013 "):
        doctored = with_line(undo.line, f"| `HostUndoTable.cancelGroup` |{blank}| ours | |")
        expect(f"an application cell of {blank!r}", map_problems(doctored),
               [f"line {undo.line}: `HostUndoTable.cancelGroup` has no application cell"])
    expect("a row of one cell", map_problems(with_line(undo.line, "| `HostUndoTable.cancelGroup` |")),
           [f"line {undo.line}: `HostUndoTable.cancelGroup` has no application cell"])

    # The map, or a part of it, commented out or fenced: the hidden rows are
    # missing, and the hiding itself is named.
    move = row_of("HostUndoTable.cancelGroup")
    bind = row_of("HOST_MODULE_BIND")
    hiding = [
        ("one row in a comment", with_line(move.line, f"<!-- {lines[move.line - 1]} -->"),
         [f"line {move.line}: an HTML comment hides part of the map", "no row for HostUndoTable.cancelGroup"]),
        ("rows in a comment over lines",
         "\n".join(lines[: move.line - 1] + ["<!--", lines[move.line - 1], "-->"] + lines[move.line:]),
         [f"line {move.line}: an HTML comment hides part of the map", "no row for HostUndoTable.cancelGroup"]),
        ("a row in a fenced block",
         "\n".join(lines[: bind.line - 1] + ["```", lines[bind.line - 1], "```"] + lines[bind.line:]),
         [f"line {bind.line}: a fenced block hides table rows",
          f"no row for HOST_MODULE_BIND in the table of '{ENTRY_POINT_HEADING}'"]),
    ]
    for what, doctored, wanted in hiding:
        expect(what, map_problems(doctored), wanted)
    whole = map_problems("<!--\n" + text + "\n-->")
    expect("the whole map in a comment", (whole[0], len(whole)),
           ("line 1: an HTML comment hides part of the map", 1 + len(interface.required())))

    # An entry-point message's row outside the entry point's table is not its row.
    outside = "\n".join(lines[: bind.line - 1] + lines[bind.line:]) + "\n" + lines[bind.line - 1] + "\n"
    expect("a message's row outside its table", map_problems(outside),
           [f"no row for HOST_MODULE_BIND in the table of '{ENTRY_POINT_HEADING}'"])

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
