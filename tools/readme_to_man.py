#!/usr/bin/env python3
"""Writes the manual page quorantel-cli(1) from the README's "Command-line
tool" section, so the tool is described in one place only.

Usage: readme_to_man.py README.md OUT.1 VERSION

The section's opening paragraphs become DESCRIPTION (its "Exit codes:"
sentence becomes EXIT STATUS), and each "- `USAGE` text" item becomes one
entry under COMMANDS.
"""
import re
import sys

SECTION = "## Command-line tool"


def section_lines(readme: str) -> list[str]:
    start = readme.index(SECTION + "\n") + len(SECTION) + 1
    end = readme.find("\n## ", start)
    return readme[start:end if end >= 0 else len(readme)].splitlines()


def blocks(lines: list[str]) -> list[tuple[str, str]]:
    """("para", text) or ("item", text) blocks, each joined into one line."""
    result: list[tuple[str, str]] = []
    current: list[str] = []
    kind = "para"

    def flush():
        nonlocal current
        if current:
            result.append((kind, " ".join(current)))
        current = []

    for line in lines:
        if not line.strip():
            flush()
        elif line.startswith("- "):
            flush()
            kind = "item"
            current = [line[2:].strip()]
        elif kind == "item" and line.startswith("  ") and current:
            current.append(line.strip())
        else:
            if kind == "item":
                flush()
            kind = "para"
            current.append(line.strip())
    flush()
    return result


def escape(text: str) -> str:
    return text.replace("\\", "\\e")


def inline(text: str) -> str:
    """Markdown code spans to bold; backslashes, and dashes in code, escaped."""
    out = []
    for i, part in enumerate(text.split("`")):
        if i % 2 == 0:  # Markdown's backslash escapes work outside code only
            part = re.sub(r"\\([\\*_\[\]()#+.!-])", r"\1", part)
        part = escape(part)
        out.append("\\fB" + part.replace("-", "\\-") + "\\fR" if i % 2 else part)
    return "".join(out)


def roff_line(text: str) -> str:
    # A line starting with a dot or an apostrophe would be read as a request.
    return "\\&" + text if text[:1] in (".", "'") else text


def main() -> int:
    readme_path, out_path, version = sys.argv[1:4]
    with open(readme_path, encoding="utf-8") as f:
        parts = blocks(section_lines(f.read()))

    description: list[str] = []
    exit_status: list[str] = []
    commands: list[tuple[str, str]] = []
    for kind, text in parts:
        text = text.replace("build/src/app/quorantel-cli", "quorantel-cli")
        # A paragraph opening with the usage in code repeats the synopsis.
        text = re.sub(r"^`quorantel-cli COMMAND[^`]*`\.\s*", "", text)
        if kind == "item":
            m = re.match(r"`([^`]+)`\s*(.*)", text)
            if not m:
                raise SystemExit(f"{readme_path}: a command item does not start with its usage: {text[:40]}")
            commands.append((m.group(1), m.group(2)))
            continue
        m = re.search(r"Exit codes: [^.]*\.\s*", text)
        if m:
            exit_status.append(m.group(0).strip())
            text = text[:m.start()] + text[m.end():]
        description.append(text)
    if not commands:
        raise SystemExit(f"{readme_path}: no commands found under '{SECTION}'")

    out = [
        '.\\" Generated from README.md by tools/readme_to_man.py; edit the README.',
        f'.TH QUORANTEL\\-CLI 1 "" "QUORANTEL {version}" "User Commands"',
        ".SH NAME",
        "quorantel\\-cli \\- batch work on QUORANTEL scenario files",
        ".SH SYNOPSIS",
        ".B quorantel\\-cli",
        ".I COMMAND",
        "[\\fIARGUMENTS\\fR]",
        ".br",
        ".B quorantel\\-cli",
        ".B \\-\\-help",
        "|",
        ".B \\-\\-version",
        ".SH DESCRIPTION",
    ]
    for i, text in enumerate(description):
        if i:
            out.append(".PP")
        out.append(roff_line(inline(text)))
    out += [".SH COMMANDS"]
    for usage, text in commands:
        out += [".TP", ".B " + inline(f"`{usage}`").removeprefix("\\fB").removesuffix("\\fR")]
        out.append(roff_line(inline(text)))
    out += [
        ".SH OPTIONS",
        ".TP",
        ".BR \\-\\-help \", \" help",
        "Print the usage of every command and exit.",
        ".TP",
        ".B \\-\\-version",
        "Print the version and exit.",
    ]
    if exit_status:
        out += [".SH EXIT STATUS"] + [roff_line(inline(t)) for t in exit_status]
        out += [".PP", "A command that ends otherwise says so under", ".BR COMMANDS ."]
    out += [".SH SEE ALSO", ".BR quorantel (1)", ""]
    with open(out_path, "w", encoding="utf-8") as f:
        f.write("\n".join(out))
    return 0


if __name__ == "__main__":
    sys.exit(main())
