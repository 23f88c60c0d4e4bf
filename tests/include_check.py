#!/usr/bin/env python3
"""The program's folders in floors: a folder includes only its own and those below it, and each
library or program links exactly the libraries whose headers it includes.

Usage: include_check.py SOURCE_DIR. Prints each fault and exits 1 when there is one."""

import pathlib
import re
import sys

# Bottom to top. Folders on one floor include none of each other.
FLOORS = [
    ["platform"],
    ["state"],
    ["radio"],
    ["sim", "lock", "net"],
    ["panel"],
    ["memmgr", "scope"],
    ["ui"],
    ["program"],
    ["app"],
]
RANK = {folder: rank for rank, floor in enumerate(FLOORS) for folder in floor}

INCLUDE = re.compile(r'^[ \t]*#[ \t]*include[ \t]+"([a-z]+)/([^"]+)"', re.M)
COMMAND = re.compile(r"\b(add_library|add_executable|target_link_libraries)\s*\(([^)]*)\)", re.S)
KEYWORDS = {"STATIC", "SHARED", "OBJECT", "INTERFACE", "PUBLIC", "PRIVATE"}


def words(text):
    return [w for w in re.sub(r"#[^\n]*", "", text).split() if w not in KEYWORDS and not w.startswith("$")]


def main(root):
    owner = {}  # file (folder/name) -> target
    folder_of = {}  # target -> folder
    first = {}  # folder -> its first library, for headers no list names
    links = {}  # target -> the kivo libraries it links
    for folder in RANK:
        cmake = root / folder / "CMakeLists.txt"
        for command, args in COMMAND.findall(cmake.read_text()):
            name, *rest = words(args)
            if command == "target_link_libraries":
                links.setdefault(name, set()).update(w for w in rest if w.startswith("kivo_"))
                continue
            folder_of[name] = folder
            if command == "add_library":
                first.setdefault(folder, name)
            for source in rest:
                owner[f"{folder}/{source}"] = name

    def owner_of(path):
        if path in owner:
            return owner[path]
        stem = path.rsplit(".", 1)[0]
        return owner.get(stem + ".cpp", first.get(path.split("/")[0]))

    faults = []
    included = {}  # target -> the targets it includes
    for folder in RANK:
        for source in sorted((root / folder).rglob("*")):
            if source.suffix not in (".h", ".cpp"):
                continue
            path = source.relative_to(root).as_posix()
            target = owner_of(path)
            text = source.read_text()
            for m in INCLUDE.finditer(text):
                line, (to, rest) = text.count("\n", 0, m.start()) + 1, m.groups()
                where = f"{path}:{line}: {to}/{rest}"
                if to not in RANK:
                    continue
                if RANK[to] > RANK[folder]:
                    faults.append(f"{where}: {to}/ is above {folder}/")
                    continue
                if RANK[to] == RANK[folder] and to != folder:
                    faults.append(f"{where}: {to}/ is on the floor of {folder}/")
                    continue
                wanted = owner_of(f"{to}/{rest}")
                if wanted == target:
                    continue
                included.setdefault(target, set()).add(wanted)
                if wanted not in links.get(target, set()):
                    faults.append(f"{where}: {target} does not link {wanted}")
    for target, linked in sorted(links.items()):
        if target in folder_of:
            for lib in sorted(linked - included.get(target, set())):
                faults.append(f"{folder_of[target]}/CMakeLists.txt: {target} links {lib} but includes none of it")

    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ".")))
