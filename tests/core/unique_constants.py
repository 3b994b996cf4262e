#!/usr/bin/env python3
"""Checks that no two headers define an inline constant of the same name in the same namespace.

Two such definitions with different values break the one-definition rule without a word from
the compiler or the linker: whichever object file the linker takes first gives its value to
every user, so the options file's section labels could silently become the export's provenance
labels in a program that links both.

Usage: unique_constants.py <source folder>...
"""

import pathlib
import re
import sys

NAMESPACE = re.compile(r"^namespace\s+([\w:]+)\s*\{")
CONSTANT = re.compile(r"^inline\s+(?:constexpr|const)\b[^=;(]*?\b(k[A-Z]\w*)\s*(?:=|\{|\[)")

seen = {}
clashes = []
for folder in sys.argv[1:]:
    for header in sorted(pathlib.Path(folder).rglob("*.h")):
        namespace = ""
        for number, line in enumerate(header.read_text(encoding="utf-8").splitlines(), 1):
            if match := NAMESPACE.match(line):
                namespace = match.group(1)
            elif match := CONSTANT.match(line):
                key = (namespace, match.group(1))
                place = f"{header}:{number}"
                if key in seen:
                    clashes.append(f"{namespace}::{match.group(1)}: {seen[key]} and {place}")
                else:
                    seen[key] = place

for clash in clashes:
    print("defined twice:", clash)
print(f"{len(seen)} constants, {len(clashes)} defined twice")
sys.exit(1 if clashes else 0)
