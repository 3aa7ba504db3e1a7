#!/usr/bin/env python3
"""Checks that the documents' links lead somewhere.

    check_links.py --tree SOURCE
    check_links.py --tree SOURCE --installed-from BUILD --cmake CMAKE

The documents are README.md, CONTRIBUTING.md and doc/*.md. Every relative
link and image in them must name a file, and a "#anchor" a heading of the
Markdown file it names (as GitHub makes anchors of headings); every page the
manual page names must be in doc/. With --installed-from, the build folder
is installed into a temporary prefix, which must hold every document in
share/doc/zelvane in the tree's layout, and the links are checked there
too: a link to the manual page, doc/zelvane.1, is then kept by the
installed manual page. Prints one line per broken link; exit status 1 when
there is any.
"""

import argparse
import pathlib
import re
import subprocess
import sys
import tempfile

LINK = re.compile(r"!?\[(?:[^\]\\]|\\.)*\]\(([^)\s]+)\)")
FENCE = re.compile(r"^\s*(```|~~~)")
CODE_SPAN = re.compile(r"`[^`]*`")
HEADING = re.compile(r"^#{1,6}\s+(.*?)\s*#*\s*$")
MANUAL_PAGE_NAME = re.compile(r"([a-z][a-z0-9-]*\.md)")


def documents(root):
    found = [root / "README.md", root / "CONTRIBUTING.md"]
    found += sorted((root / "doc").glob("*.md"))
    return [path for path in found if path.is_file()]


def prose_lines(path):
    """The lines outside fenced code blocks, with code spans blanked out,
    and each line's number. (Indented code blocks hold commands, which have
    neither links nor headings.)"""
    fenced = False
    for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
        if FENCE.match(line):
            fenced = not fenced
        elif not fenced:
            yield number, CODE_SPAN.sub("", line)


def anchor_of(heading):
    """GitHub's anchor for a heading's text."""
    text = re.sub(r"`([^`]*)`", r"\1", heading)
    text = re.sub(r"\[([^\]]*)\]\([^)]*\)", r"\1", text)
    text = text.strip().lower()
    text = "".join(c for c in text if c.isalnum() or c in " -_")
    return text.replace(" ", "-")


def anchors(path):
    seen = {}
    result = set()
    for _, line in prose_lines(path):
        match = HEADING.match(line)
        if match:
            anchor = anchor_of(match.group(1))
            count = seen.get(anchor, 0)
            seen[anchor] = count + 1
            result.add(anchor if count == 0 else f"{anchor}-{count}")
    return result


def links(path):
    for number, line in prose_lines(path):
        for match in LINK.finditer(line):
            yield number, match.group(1)


def check_document(path, root, resolve_missing):
    problems = []
    count = 0
    for number, target in links(path):
        count += 1
        if re.match(r"^[a-z][a-z0-9+.-]*:", target):
            continue  # a URL
        file_part, _, fragment = target.partition("#")
        destination = (path.parent / file_part).resolve() if file_part else path
        where = f"{path.relative_to(root)}:{number}: {target}"
        if not destination.exists():
            if not resolve_missing(destination):
                problems.append(f"{where}: no such file")
            continue
        if fragment:
            if destination.suffix != ".md":
                problems.append(f"{where}: an anchor in a file that is not Markdown")
            elif fragment not in anchors(destination):
                problems.append(f"{where}: no heading with the anchor #{fragment}")
    return problems, count


def check_set(root, resolve_missing=lambda destination: False):
    problems = []
    for path in documents(root):
        found, count = check_document(path, root, resolve_missing)
        problems += found
        if path.name == "README.md" and count == 0:
            problems.append(f"{path.relative_to(root)}: no links found at all")
    return problems


def check_manual_page(source):
    text = (source / "doc" / "zelvane.1").read_text(encoding="utf-8").replace("\\-", "-")
    names = sorted(set(MANUAL_PAGE_NAME.findall(text)))
    problems = [f"doc/zelvane.1: names {name}, which doc/ does not have"
                for name in names if not (source / "doc" / name).is_file()]
    if not names:
        problems.append("doc/zelvane.1: names no page of doc/")
    return problems


def check_installed(source, build, cmake):
    with tempfile.TemporaryDirectory(prefix="zelvane-doc-links-") as prefix:
        subprocess.run([cmake, "--install", str(build), "--prefix", prefix], check=True,
                       stdout=subprocess.DEVNULL)
        installed = pathlib.Path(prefix) / "share" / "doc" / "zelvane"
        manual = pathlib.Path(prefix) / "share" / "man" / "man1" / "zelvane.1.gz"
        problems = [f"installed: no {path.relative_to(source)} in {installed}"
                    for path in documents(source) if not (installed / path.relative_to(source)).is_file()]

        def manual_page(destination):
            return destination == (installed / "doc" / "zelvane.1").resolve() and manual.is_file()

        problems += [f"installed: {problem}" for problem in check_set(installed, manual_page)]
        return problems


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--tree", required=True, type=pathlib.Path)
    parser.add_argument("--installed-from", type=pathlib.Path)
    parser.add_argument("--cmake", default="cmake")
    arguments = parser.parse_args()
    source = arguments.tree.resolve()
    problems = check_set(source) + check_manual_page(source)
    if arguments.installed_from:
        problems += check_installed(source, arguments.installed_from, arguments.cmake)
    for problem in problems:
        print(problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
