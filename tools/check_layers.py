#!/usr/bin/python3
"""Lists #include lines that run against the layer order of the code.

Usage: check_layers.py [SOURCE_ROOT]

Rules (a layer includes only layers below it or itself):
  host      base < ge < db < dxf < ed < ui, plot   (ui and plot stand side by side)
  host      never includes the module
  module    (module/ spaces/ editing/ reports/ database/ config/ infra/)
            uses only the host's public headers, never a host-only one
  infra     includes only infra and the host: log paths and settings come in
            as arguments, not from config or above

Prints "file:line: rule" for each include that breaks a rule and is not on
the known list below; exits 1 when there is any, 0 otherwise. A known
violation that no longer occurs is reported too, so the list shrinks with
the code.
"""

import os
import re
import sys

HOST_RANK = {"base": -1, "ge": 0, "db": 1, "dxf": 2, "ed": 3, "ui": 4, "plot": 4}
MODULE_DIRS = ("module", "spaces", "editing", "reports", "database", "config", "infra")

# Headers of the host that only the host itself (and its tests) may use:
# look-ups that bypass the public interface, the database's inner records and
# the DXF implementation.
HOST_ONLY = re.compile(
    r"^host/(dxf/.*"
    r"|base/.*"
    r"|db/AcDbPeek\.h"
    r"|db/AcDbDatabaseData\.h"
    r"|db/AcDbStub\.h"
    r"|db/AcDbUndoRecord\.h)$"
)

# Known violations, as (file, included header); nothing may be added to
# this list.
KNOWN = set()

# The module still asks the host whether a block definition's entity has
# extended data of an application without building it (hyperlinks): the
# host's selection covers model and paper space only, not the entities of a
# block definition. To be removed when the host offers that through its
# public interface.
KNOWN |= {
    ("database/Hyperlinks.cpp", "host/db/AcDbPeek.h"),
    ("spaces/BlockDWGHatching.cpp", "host/db/AcDbPeek.h"),
}

INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"')


def rule_broken(source, header):
    """The rule the include of header from source breaks, or None."""
    parts = source.split("/")
    top = parts[0]
    target = header.split("/")
    if top == "host" and len(parts) > 2:
        if target[0] in MODULE_DIRS:
            return "the host never includes the module"
        if target[0] == "host" and len(target) > 2 and parts[1] in HOST_RANK and target[1] in HOST_RANK:
            if HOST_RANK[target[1]] > HOST_RANK[parts[1]]:
                return "host/%s must not include host/%s (host layers: base < ge < db < dxf < ed < ui, plot)" % (
                    parts[1], target[1])
        return None
    if top in MODULE_DIRS:
        if HOST_ONLY.match(header):
            return "the module uses only the host's public headers; %s is host-only" % header
        if top == "infra" and target[0] in MODULE_DIRS and target[0] != "infra":
            return "infra must not include %s/ (it takes paths and settings as arguments)" % target[0]
    return None


def scan(root):
    broken, seen = [], set()
    for top in ("host",) + MODULE_DIRS:
        for folder, _, names in os.walk(os.path.join(root, top)):
            for name in sorted(names):
                if not name.endswith((".h", ".cpp")):
                    continue
                path = os.path.join(folder, name)
                source = os.path.relpath(path, root).replace(os.sep, "/")
                with open(path, encoding="utf-8", errors="replace") as text:
                    for number, line in enumerate(text, 1):
                        found = INCLUDE.match(line)
                        if not found:
                            continue
                        rule = rule_broken(source, found.group(1))
                        if not rule:
                            continue
                        key = (source, found.group(1))
                        if key in KNOWN:
                            seen.add(key)
                        else:
                            broken.append("%s:%d: %s" % (source, number, rule))
    for source, header in sorted(KNOWN - seen):
        broken.append("%s: the known violation (include of %s) is gone: take it off the list in %s" % (
            source, header, os.path.basename(__file__)))
    return broken


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    if not os.path.isdir(os.path.join(root, "host")):
        print("check_layers: %s has no host/ folder; give the source root" % root, file=sys.stderr)
        return 2
    broken = scan(root)
    for entry in broken:
        print(entry)
    if broken:
        print("%d include(s) against the layer order" % len(broken))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
