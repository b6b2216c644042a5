#!/usr/bin/env python3
"""Writes a manual page from a roff template and the program's own --help text, so that the page
lists exactly the options the program has.

usage: man_page.py TEMPLATE OUTPUT PROGRAM [NAME=VALUE]...

The template's placeholders: @SYNOPSIS@ (the usage lines of --help), @OPTIONS@ (each option line
of --help with the lines that continue it), @EXIT_STATUS@ (the paragraph of --help that begins
"Exit status:") and @NAME@ for every NAME=VALUE given. A placeholder left unfilled, or an option
line that cannot be read, stops the build.
"""
import os
import re
import subprocess
import sys

# "  --name ARGS   text": two spaces, the option, two or more spaces, its description.
OPTION_LINE = re.compile(r"^  (-\S.*?)(?: {2,}(\S.*))?$")
# The words after an option that belong to it: a quoted value, [optional parts], NAMES, 0|1|2.
ARGUMENT_WORD = re.compile(r'^("[^"]*"|\[.*\]|[^a-z]+)$')


def roff(text):
    """Text as roff shows it literally."""
    text = text.replace("\\", "\\e").replace("-", "\\-")
    return "\\&" + text if text.startswith((".", "'")) else text


def split_option(line):
    """(tag, text) of an option line; the text may be empty."""
    tag, text = OPTION_LINE.match(line).groups()
    if text is None:  # a tag too long for its column: one space before the description
        words = re.findall(r'"[^"]*"|\S+', tag)
        count = 1
        while count < len(words) and ARGUMENT_WORD.match(words[count]):
            count += 1
        tag, text = " ".join(words[:count]), " ".join(words[count:])
    return tag, text


def parse_help(help_text, program):
    """(usage forms, [(tag, text)], exit status paragraph) of a --help text."""
    lines = help_text.splitlines()
    if not lines or not lines[0].startswith("Usage: "):
        sys.exit(f"man_page.py: {program} --help does not begin with 'Usage: '")
    forms = [lines[0][len("Usage: "):].strip()]
    index = 1
    while index < len(lines) and lines[index].startswith(" ") and not OPTION_LINE.match(
            lines[index]):
        words = lines[index].strip()
        if words.startswith(program + " "):
            forms.append(words)
        else:
            forms[-1] += " " + words
        index += 1

    options, exit_status = [], ""
    for paragraph in "\n".join(lines[index:]).split("\n\n"):
        paragraph_lines = [line for line in paragraph.splitlines() if line.strip()]
        if not paragraph_lines:
            continue
        if paragraph_lines[0].startswith("Exit status:"):
            exit_status = " ".join(line.strip() for line in paragraph_lines)
            exit_status = exit_status.removeprefix("Exit status:").strip()
            continue
        for line in paragraph_lines:
            if OPTION_LINE.match(line):
                options.append(list(split_option(line)))
            elif options and line.startswith("    "):  # continues the option above
                options[-1][1] = (options[-1][1] + " " + line.strip()).strip()
    return forms, options, exit_status


def synopsis(forms, program):
    blocks = []
    for form in forms:
        rest = form.removeprefix(program).strip()
        blocks.append(f".B {roff(program)}\n{roff(rest)}")
    return "\n.br\n".join(blocks)


def option_list(options):
    entries = []
    for tag, text in options:
        name, _, arguments = tag.partition(" ")
        shown = f"\\fB{roff(name)}\\fR" + (f" {roff(arguments)}" if arguments else "")
        entries.append(f".TP\n{shown}\n{roff(text)}")
    return "\n".join(entries)


def main():
    if len(sys.argv) < 4:
        sys.exit(__doc__)
    template_path, output_path, program_path = sys.argv[1:4]
    program = os.path.basename(program_path)
    environment = dict(os.environ, LC_ALL="C.UTF-8")
    help_text = subprocess.run([program_path, "--help"], check=True, capture_output=True,
                               text=True, encoding="utf-8", env=environment).stdout
    forms, options, exit_status = parse_help(help_text, program)
    if not options:
        sys.exit(f"man_page.py: {program} --help lists no option")

    values = {"SYNOPSIS": synopsis(forms, program), "OPTIONS": option_list(options)}
    if exit_status:
        values["EXIT_STATUS"] = roff(exit_status)
    for pair in sys.argv[4:]:
        name, _, value = pair.partition("=")
        values[name] = value

    with open(template_path, encoding="utf-8") as template:
        page = template.read()
    for name, value in values.items():
        page = page.replace(f"@{name}@", value)
    left = re.findall(r"@[A-Z_]+@", page)
    if left:
        sys.exit(f"man_page.py: {template_path}: nothing fills {', '.join(sorted(set(left)))}")
    with open(output_path, "w", encoding="utf-8") as output:
        output.write(page)


if __name__ == "__main__":
    main()
