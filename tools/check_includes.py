#!/usr/bin/env python3
"""Fails, naming each one, on an include under src/ that runs against the layers:
base/ includes only base/; host/ includes host/ and base/; the feature folders include base/ and
one another's neutral headers, and reach host/ only from their _win files; bridge/ includes base/
and the feature folders' neutral headers; only app/ includes both bridge/ and host/.
Outside host/ and app/, a file that includes a Windows header must end in _win: the build takes
every other file there into the library that is built natively."""

import pathlib
import re
import sys

FEATURES = {"features", "links", "notify", "update"}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')
# The C++ headers are named without ".h"; under src/ every <name.h> is a Windows header.
SYSTEM_HEADER = re.compile(r'^\s*#\s*include\s+<([^>]+\.h)>')
WIN32_LAYERS = {"host", "app"}


def is_win(path: str) -> bool:
    return pathlib.PurePosixPath(path).stem.endswith("_win")


def allowed(layer: str, source: str, target: str) -> bool:
    """Whether `source` (a path under src/ in folder `layer`) may include `target`."""
    folder = target.split("/", 1)[0] if "/" in target else ""
    if folder == "base":
        return True
    if layer == "base":
        return False
    if layer == "host":
        return folder == "host"
    if layer in FEATURES:
        if folder == layer:
            return True
        if folder in FEATURES:
            return not is_win(target)
        return folder == "host" and is_win(source)
    if layer == "bridge":
        return folder == "bridge" or (folder in FEATURES and not is_win(target))
    if layer == "app":
        # The resources' identifiers come from the resource folder, on the include path of the
        # Windows build only.
        return folder in {"app", "bridge", "host"} | FEATURES or target == "resource_ids.h"
    return False


def main() -> int:
    src = pathlib.Path(__file__).resolve().parent.parent / "src"
    wrong = []
    for path in sorted(src.rglob("*")):
        if path.suffix not in {".h", ".cpp"}:
            continue
        relative = path.relative_to(src).as_posix()
        layer = relative.split("/", 1)[0] if "/" in relative else ""
        for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
            match = INCLUDE.match(line)
            if match and not allowed(layer, relative, match.group(1)):
                wrong.append(f"src/{relative}:{number}: includes {match.group(1)}")
            system = SYSTEM_HEADER.match(line)
            if system and layer not in WIN32_LAYERS and not is_win(relative):
                wrong.append(f"src/{relative}:{number}: includes <{system.group(1)}> without the _win suffix")
    for item in wrong:
        print(item)
    print(f"{len(wrong)} wrong-way include(s)")
    return 1 if wrong else 0


if __name__ == "__main__":
    sys.exit(main())
