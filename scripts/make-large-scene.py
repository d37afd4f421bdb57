#!/usr/bin/env python3
"""Writes a large scene file for measuring the driver.

  make-large-scene.py tree N FILE   N objects in a tree of fan-out 8; every
                                    100th object carries a tag of plug-in 1234
  make-large-scene.py chain N FILE  N objects each the only child of the one
                                    before; the deepest carries the tag
"""
import sys


def tree(count, out):
    # Object i's children are 8i+1 .. 8i+8, written depth first.
    out.write('{"plugins": [{"id": 1234, "kind": 6, "name": "Legacy Tag"}], "objects": [')
    stack = [(0, 'open')]
    first_at_level = [True]
    while stack:
        index, state = stack.pop()
        if state == 'close':
            out.write(']}' if 8 * index + 1 < count else '}')
            continue
        out.write('' if first_at_level[-1] else ', ')
        out.write('{"name": "Object %d", "type": 5159' % index)
        if index % 100 == 0:
            out.write(', "tags": [{"name": "Legacy", "type": 1234}]')
        children = [c for c in range(8 * index + 1, 8 * index + 9) if c < count]
        stack.append((index, 'close'))
        if children:
            out.write(', "children": [')
            for child in reversed(children):
                stack.append((child, 'open'))
        first_at_level[-1] = False
        # Separators: a child list starts fresh; a sibling follows with ", ".
        if children:
            first_at_level[-1] = True
    out.write('], "materials": [], "renderSettings": []}\n')


def chain(count, out):
    out.write('{"plugins": [{"id": 1234, "kind": 6, "name": "Legacy Tag"}], "objects": [')
    for i in range(count - 1):
        out.write('{"name": "Link %d", "type": 5140, "children": [' % i)
    out.write('{"name": "Deepest", "type": 5159, "tags": [{"name": "Legacy", "type": 1234}]}')
    out.write(']}' * (count - 1))
    out.write('], "materials": [], "renderSettings": []}\n')


if __name__ == '__main__':
    kind, count, path = sys.argv[1], int(sys.argv[2]), sys.argv[3]
    with open(path, 'w') as out:
        (tree if kind == 'tree' else chain)(count, out)
