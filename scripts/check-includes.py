#!/usr/bin/env python3
"""No two units include each other, and no include runs up the layers.

A unit is a header and its source taken together (model/Data.h and model/Data.cpp); the
two forms of a unit for the two systems or builds (NamePosix.cpp, NameWindows.cpp,
NameQt.cpp, NameUnavailable.cpp beside Name.h) belong to it, and a header or source alone
is a unit of its own. Unit A depends on unit B when A's header or source includes B's
header. Every loop of units is an error, named with the includes that close it.

The folders are layered, each allowed to include only its own layer and those below:

    model < analysis < ui/charts < ui/widgets < ui/dialogs, ui/document < ui/export
          < ui/windows < app < tools, bench, fuzz

An include from a lower layer to a higher one, or a source in a folder of no layer, is an
error too, or only a warning with --upward=warn.

The folders are walked, not asked of git, so that a source archive is checked the same.

    scripts/check-includes.py [--root DIR] [--upward=error|warn]

Exit status: 0 clean (warnings allowed), 1 a loop or an error from the layers, 2 usage.
"""
import argparse
import os
import re
import sys
from collections import deque

FOLDERS = ["model", "analysis", "ui", "app", "tools", "bench", "fuzz"]
SOURCE_SUFFIXES = (".h", ".hpp", ".cpp", ".cc")
HEADER_SUFFIXES = (".h", ".hpp")
# The forms of one unit for one system or build each, beside the unit's header.
FORM_SUFFIXES = ("Posix", "Windows", "Qt", "Unavailable")
# The layers from the bottom; a folder's deepest listed prefix names its layer.
LAYERS = [
    ["model"],
    ["analysis"],
    ["ui/charts"],
    ["ui/widgets"],
    ["ui/dialogs", "ui/document"],
    ["ui/export"],
    ["ui/windows"],
    ["app"],
    ["tools", "bench", "fuzz"],
]
ROOM_RANK = {room: rank for rank, rooms in enumerate(LAYERS) for room in rooms}

INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"')
BLOCK_COMMENT = re.compile(r"/\*.*?\*/", re.DOTALL)


def sources(root):
    """Every source under the checked folders, as paths from the root with '/'."""
    found = []
    for folder in FOLDERS:
        top = os.path.join(root, folder)
        for directory, subdirectories, files in os.walk(top):
            subdirectories[:] = sorted(d for d in subdirectories if not d.startswith("."))
            for name in sorted(files):
                if name.endswith(SOURCE_SUFFIXES):
                    path = os.path.relpath(os.path.join(directory, name), root)
                    found.append(path.replace(os.sep, "/"))
    return found


def includes(root, path):
    """The quoted includes of a file as (line number, text); commented-out ones are left."""
    with open(os.path.join(root, path), encoding="utf-8", errors="replace") as source:
        text = source.read()
    # A block comment keeps its line breaks, so that line numbers stay true.
    text = BLOCK_COMMENT.sub(lambda m: "\n" * m.group(0).count("\n"), text)
    for number, line in enumerate(text.splitlines(), 1):
        match = INCLUDE.match(line)
        if match:
            yield number, match.group(1)


def resolve(path, included, known):
    """The checked file an include names: from the root first, then beside the includer."""
    beside = os.path.normpath(os.path.join(os.path.dirname(path), included)).replace(os.sep, "/")
    for candidate in (os.path.normpath(included).replace(os.sep, "/"), beside):
        if candidate in known:
            return candidate
    return None  # a library's or the tests' header: outside the checked folders


def unit_of(path, known):
    stem, suffix = os.path.splitext(path)
    if suffix in HEADER_SUFFIXES:
        return stem
    if any(stem + header in known for header in HEADER_SUFFIXES):
        return stem
    for form in FORM_SUFFIXES:
        base = stem[: -len(form)]
        if stem.endswith(form) and any(base + header in known for header in HEADER_SUFFIXES):
            return base
    return stem


def room_of(path):
    folder = os.path.dirname(path)
    while folder:
        if folder in ROOM_RANK:
            return folder
        folder = os.path.dirname(folder)
    return None


def strongly_connected(graph):
    """Tarjan's components, iteratively, in a stable order."""
    index = {}
    low = {}
    stack = []
    on_stack = set()
    components = []
    counter = 0
    for start in sorted(graph):
        if start in index:
            continue
        work = [(start, iter(sorted(graph[start])))]
        index[start] = low[start] = counter
        counter += 1
        stack.append(start)
        on_stack.add(start)
        while work:
            node, successors = work[-1]
            advanced = False
            for successor in successors:
                if successor not in index:
                    index[successor] = low[successor] = counter
                    counter += 1
                    stack.append(successor)
                    on_stack.add(successor)
                    work.append((successor, iter(sorted(graph[successor]))))
                    advanced = True
                    break
                if successor in on_stack:
                    low[node] = min(low[node], index[successor])
            if advanced:
                continue
            work.pop()
            if work:
                parent = work[-1][0]
                low[parent] = min(low[parent], low[node])
            if low[node] == index[node]:
                component = []
                while True:
                    member = stack.pop()
                    on_stack.discard(member)
                    component.append(member)
                    if member == node:
                        break
                components.append(sorted(component))
    return components


def shortest_path(graph, start, goal, allowed):
    previous = {start: None}
    queue = deque([start])
    while queue:
        node = queue.popleft()
        if node == goal:
            path = []
            while node is not None:
                path.append(node)
                node = previous[node]
            return path[::-1]
        for successor in sorted(graph[node]):
            if successor in allowed and successor not in previous:
                previous[successor] = node
                queue.append(successor)
    return None


def cycles(graph):
    """Loops that together pass every include closing one: for each dependency inside a
    strongly connected set of units, the shortest way back, each loop named once."""
    found = []
    seen = set()
    for component in strongly_connected(graph):
        if len(component) < 2:
            continue
        members = set(component)
        for unit in component:
            for successor in sorted(graph[unit] & members):
                loop = [unit] + shortest_path(graph, successor, unit, members)[:-1]
                first = loop.index(min(loop))
                loop = loop[first:] + loop[:first]
                if tuple(loop) not in seen:
                    seen.add(tuple(loop))
                    found.append(loop)
    return found


def main(argv):
    parser = argparse.ArgumentParser(description="Checks that no units include each other "
                                     "and that no include runs up the layers.")
    parser.add_argument("--root", default=os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."),
                        help="the repository's root (default: the folder above this script's)")
    parser.add_argument("--upward", choices=["error", "warn"], default="error",
                        help="whether an include up the layers fails the check (default: error)")
    arguments = parser.parse_args(argv)
    root = os.path.abspath(arguments.root)

    paths = sources(root)
    if not paths:
        print(f"check-includes: no sources under {root}", file=sys.stderr)
        return 2
    known = set(paths)
    graph = {}
    evidence = {}  # (unit, unit) -> ["file:line includes \"header\""]
    upward = []
    for path in paths:
        unit = unit_of(path, known)
        graph.setdefault(unit, set())
        room = room_of(path)
        if room is None:
            upward.append(f"{path} is in no folder of the layers")
        for number, included in includes(root, path):
            target = resolve(path, included, known)
            if target is None:
                continue
            where = f'{path}:{number} includes "{included}"'
            dependency = unit_of(target, known)
            if dependency != unit:
                graph[unit].add(dependency)
                graph.setdefault(dependency, set())
                evidence.setdefault((unit, dependency), []).append(where)
            target_room = room_of(target)
            if room is not None and target_room is not None and ROOM_RANK[target_room] > ROOM_RANK[room]:
                upward.append(f"{where}: {room} sits below {target_room}")

    loops = cycles(graph)
    for loop in loops:
        print("error: units include each other: " + " -> ".join(loop + [loop[0]]))
        for here, there in zip(loop, loop[1:] + loop[:1]):
            for where in evidence[(here, there)]:
                print(f"    {where}")
    kind = "error" if arguments.upward == "error" else "warning"
    for line in upward:
        print(f"{kind}: include up the layers: {line}")

    failed = bool(loops) or (bool(upward) and arguments.upward == "error")
    print(f"check-includes: {len(paths)} files, {len(graph)} units, {len(loops)} loops, "
          f"{len(upward)} includes up the layers" + ("" if failed else ": passed"))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
