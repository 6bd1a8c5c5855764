#!/usr/bin/python3
"""Every relative link of the given markdown files resolves: the file or
folder it names exists, and an anchor (#...) names a heading of the target
page, spelled as GitHub spells heading anchors. Links inside code blocks and
links to other sites are not followed.

usage: links_resolve.py FILE.md...
"""
import pathlib
import re
import sys

LINK = re.compile(r"!?\[(?:[^\[\]]|\[[^\]]*\])*\]\(([^()\s]+)(?:\s+\"[^\"]*\")?\)")
HEADING = re.compile(r"^#{1,6}\s+(.*?)\s*#*\s*$")


def prose_lines(path):
    """(number, line) of the lines outside fenced code blocks."""
    fenced = False
    for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), start=1):
        if line.lstrip().startswith("```"):
            fenced = not fenced
        elif not fenced:
            yield number, line


def anchors(path):
    """The anchors GitHub gives the headings of `path`: lower case, links
    and code marks reduced to their text, punctuation dropped, blanks made
    hyphens, a repeated anchor numbered."""
    seen = {}
    for _, line in prose_lines(path):
        match = HEADING.match(line)
        if match:
            text = re.sub(r"\[([^\]]*)\]\([^)]*\)", r"\1", match.group(1)).lower()
            slug = re.sub(r"[^\w\- ]", "", text).replace(" ", "-")
            count = seen.get(slug, 0)
            seen[slug] = count + 1
            yield slug if count == 0 else f"{slug}-{count}"


def faults(page):
    for number, line in prose_lines(page):
        for target in LINK.findall(re.sub(r"`[^`]*`", "", line)):
            if re.match(r"^[a-z][a-z0-9+.-]*:", target):
                continue  # another site, mailto:
            file_part, _, anchor = target.partition("#")
            linked = (page.parent / file_part).resolve() if file_part else page
            where = f"{page}:{number}: {target}"
            if not linked.exists():
                yield f"{where}: {file_part} does not exist"
            elif anchor and linked.suffix == ".md" and anchor not in set(anchors(linked)):
                yield f"{where}: {linked.name} has no heading with the anchor #{anchor}"


def main(pages):
    problems = [fault for page in map(pathlib.Path, pages) for fault in faults(page)]
    for problem in problems:
        print(problem)
    print(f"{len(pages)} pages checked, {len(problems)} broken links")
    return 1 if problems or not pages else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
