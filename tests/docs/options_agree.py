"""Checks that each tool's options are named alike in --help, its man page and docs/cli.md.

Usage: options_agree.py REDISTRIBUTE NACA MAN_DIR CLI_MD

Every option --help lists must be named in the tool's man page and in the tool's part of
cli.md (from its "## ... TOOL" heading to the next "## " heading); every option those two
name for the tool must be listed by --help. In examples, a command line of another program
(mkdir -p) is skipped, and options written right after the other tool's name
(quilane-redistribute --naca) belong to that tool.
"""
import os
import re
import subprocess
import sys

OPTION = re.compile(r"(?<![\w-])--?[A-Za-z][A-Za-z-]*")
HELP_LINE = re.compile(r" +(?:(-[A-Za-z]), )?(--?[A-Za-z][A-Za-z-]*)")


def help_options(tool):
    text = subprocess.run([tool, "--help"], capture_output=True, text=True, check=True).stdout
    found = set()
    for line in text.splitlines():
        match = HELP_LINE.match(line)
        if match:
            found.update(name for name in match.groups() if name)
    return found


def named_options(lines, in_code, tool, tools):
    """The options the lines name for `tool`; in_code tells, line by line, an example."""
    found = set()
    for line, code in zip(lines, in_code):
        line = line.replace("`", " ")
        words = line.replace("$ ", "", 1).split() if code else []
        if words and not words[0].startswith("-") and words[0].rstrip(":") != tool:
            continue  # another program's command line or output
        for other in tools - {tool}:
            line = re.sub(re.escape(other) + r"(\s+--?[A-Za-z][A-Za-z-]*)+", "", line)
        found.update(OPTION.findall(line))
    return found


def man_lines(path):
    text = open(path, encoding="utf-8").read().replace("\\-", "-")
    text = re.sub(r"\\f[BIRP]|\\[&%]", "", text)
    return re.sub(r"\\[e ]", " ", text).splitlines()


def cli_part(path, tool):
    part, inside = [], False
    for line in open(path, encoding="utf-8").read().splitlines():
        if line.startswith("## "):
            inside = re.search(r"(?<![\w-])" + re.escape(tool) + r"(?![\w-])", line) is not None
        elif inside:
            part.append(line)
    return part


def code_flags(lines, opens, closes):
    flags, inside = [], False
    for line in lines:
        if line.lstrip().startswith(closes if inside else opens):
            inside = not inside
        flags.append(inside or line.startswith("    "))
    return flags


def main(redistribute, naca, man_dir, cli_md):
    tools = {os.path.basename(redistribute): redistribute, os.path.basename(naca): naca}
    faults = []
    for tool, binary in tools.items():
        listed = help_options(binary)
        if not listed:
            faults.append(f"no option read from {tool} --help")
        man_page = os.path.join(man_dir, tool + ".1")
        man, cli = man_lines(man_page), cli_part(cli_md, tool)
        if not cli:
            faults.append(f"{cli_md} has no '## ' part for {tool}")
        for document, lines, fence in ((man_page, man, (".nf", ".fi")),
                                       (cli_md, cli, ("```", "```"))):
            named = named_options(lines, code_flags(lines, *fence), tool, set(tools))
            faults += [f"{document} does not name {o}, which {tool} --help lists"
                       for o in sorted(listed - named)]
            faults += [f"{document} names {o} for {tool}, which {tool} --help does not list"
                       for o in sorted(named - listed)]
    for fault in faults:
        print("FAIL:", fault)
    return 1 if faults else 0


if __name__ == "__main__":
    if len(sys.argv) != 5:
        sys.exit(__doc__)
    sys.exit(main(*sys.argv[1:]))
