#!/usr/bin/env python3
"""Copies C++ sources with their narrow literals spelled in cp932 bytes.

The program keeps its text as cp932 bytes, and g++ gets them from the UTF-8
sources through -fexec-charset=CP932. clang has no such option, so a build
with clang (the fuzz targets) compiles copies in which every non-ASCII
character inside a narrow string or character literal is written as hex
escapes of its cp932 bytes. A string literal is split after the escapes
("\\x82\\xA0" "abc") so that a hex digit following them is not taken into
the last escape. Comments, u8/u/U/L literals and everything else are copied
as they are; a narrow raw string holding non-ASCII text becomes an ordinary
literal. Files are rewritten only when their content changes, so an
incremental build recompiles only what was edited; copies whose source is
gone are removed.

    cp932_sources.py --root REPO --out DIR PATH...

Each PATH (a file or a folder, relative to REPO) is copied to DIR/PATH;
--exclude PATH leaves a file or folder out.
"""

import argparse
import os
import sys

SOURCE_EXTENSIONS = (".h", ".hpp", ".cpp", ".cc", ".inc")
ENCODING_PREFIXES = ("u8", "u", "U", "L")
HEX = "0123456789abcdefABCDEF"


def escape_cp932(ch, where):
    try:
        data = ch.encode("cp932")
    except UnicodeEncodeError:
        raise SystemExit(f"cp932_sources: {where}: {ch!r} (U+{ord(ch):04X}) has no cp932 form")
    return "".join(f"\\x{b:02X}" for b in data)


def convert_literal_body(body, quote, where):
    """The body of a narrow literal (without its quotes), non-ASCII escaped."""
    out = []
    i = 0
    n = len(body)
    while i < n:
        c = body[i]
        if c == "\\" and i + 1 < n:
            out.append(body[i:i + 2])
            i += 2
            continue
        if ord(c) < 0x80:
            out.append(c)
            i += 1
            continue
        j = i
        while j < n and ord(body[j]) >= 0x80:
            out.append(escape_cp932(body[j], where))
            j += 1
        i = j
        # A string literal ends after the escapes and starts again, so that
        # what follows cannot be read as more hex digits. A character
        # literal cannot be split; a hex digit after an escape there would
        # change its value, so refuse it.
        if i < n:
            if quote == '"':
                out.append('" "')
            elif body[i] in HEX:
                raise SystemExit(f"cp932_sources: {where}: hex digit after non-ASCII text in a character literal")
    return "".join(out)


def raw_to_ordinary(body, where):
    """A raw string's characters as an ordinary literal's body."""
    out = []
    for c in body:
        if c == "\\":
            out.append("\\\\")
        elif c == '"':
            out.append('\\"')
        elif c == "\n":
            out.append("\\n")
        else:
            out.append(c)
    return convert_literal_body("".join(out), '"', where)


def line_of(text, pos):
    return text.count("\n", 0, pos) + 1


def convert(text, name, found=None):
    """The source text with its narrow literals in cp932 escapes; each
    narrow string literal holding non-ASCII text is added to `found` as
    written, with its place."""
    out = []
    i = 0
    n = len(text)
    while i < n:
        c = text[i]
        # Comments stay as they are.
        if text.startswith("//", i):
            j = i
            while j < n and text[j] != "\n":
                # A backslash at the end of the line continues the comment.
                if text[j] == "\\" and text.startswith("\n", j + 1):
                    j += 1
                j += 1
            out.append(text[i:j])
            i = j
            continue
        if text.startswith("/*", i):
            j = text.find("*/", i + 2)
            j = n if j < 0 else j + 2
            out.append(text[i:j])
            i = j
            continue
        # Numbers, digit separators included ("1'000" is no literal).
        if c.isdigit() or (c == "." and i + 1 < n and text[i + 1].isdigit()):
            j = i + 1
            while j < n:
                d = text[j]
                if d in "eEpP" and j + 1 < n and text[j + 1] in "+-":
                    j += 2
                elif d.isalnum() or d in "_." or (d == "'" and j + 1 < n and text[j + 1].isalnum()):
                    j += 1
                else:
                    break
            out.append(text[i:j])
            i = j
            continue
        # Identifiers, which may be the prefix of a literal.
        if c.isalpha() or c == "_":
            j = i
            while j < n and (text[j].isalnum() or text[j] == "_"):
                j += 1
            ident = text[i:j]
            if j < n and text[j] in "\"'":
                raw = ident.endswith("R") and text[j] == '"'
                enc = ident[:-1] if raw else ident
                if enc in ENCODING_PREFIXES or (enc == "" and raw):
                    end = literal_end(text, j, raw, name)
                    if enc != "":  # u8, u, U, L: the same in both compilers
                        out.append(text[i:end])
                    else:
                        out.append(convert_raw(text, j, end, name))
                        note(found, "R" + text[j:end], name, text, j)
                    i = end
                    continue
            out.append(ident)
            i = j
            continue
        if c in "\"'":
            end = literal_end(text, i, False, name)
            body = text[i + 1:end - 1]
            out.append(c + convert_literal_body(body, c, f"{name}:{line_of(text, i)}") + c)
            if c == '"':
                note(found, text[i:end], name, text, i)
            i = end
            continue
        out.append(c)
        i += 1
    return "".join(out)


def note(found, literal, name, text, pos):
    if found is not None and any(ord(ch) >= 0x80 for ch in literal):
        found.append((literal, f"{name}:{line_of(text, pos)}"))


def literal_end(text, start, raw, name):
    """Index just past the literal whose opening quote is at start."""
    if raw:
        open_paren = text.find("(", start + 1)
        delim = text[start + 1:open_paren]
        close = text.find(")" + delim + '"', open_paren + 1)
        if open_paren < 0 or close < 0:
            raise SystemExit(f"cp932_sources: {name}:{line_of(text, start)}: unterminated raw string")
        return close + len(delim) + 2
    quote = text[start]
    j = start + 1
    while j < len(text):
        if text[j] == "\\":
            j += 2
            continue
        if text[j] == quote:
            return j + 1
        if text[j] == "\n":
            break
        j += 1
    raise SystemExit(f"cp932_sources: {name}:{line_of(text, start)}: unterminated literal")


def convert_raw(text, start, end, name):
    literal = text[start:end]
    if all(ord(ch) < 0x80 for ch in literal):
        return "R" + literal
    open_paren = literal.find("(")
    delim = literal[1:open_paren]
    body = literal[open_paren + 1:len(literal) - len(delim) - 2]
    return '"' + raw_to_ordinary(body, f"{name}:{line_of(text, start)}") + '"'


def wanted_files(root, paths, excludes):
    excluded = [os.path.normpath(e) for e in excludes]

    def skip(rel):
        return any(rel == e or rel.startswith(e + os.sep) for e in excluded)

    for p in paths:
        full = os.path.join(root, p)
        if os.path.isfile(full):
            rel = os.path.normpath(p)
            if not skip(rel):
                yield rel
            continue
        if not os.path.isdir(full):
            raise SystemExit(f"cp932_sources: {p}: no such file or folder")
        for folder, dirs, files in os.walk(full):
            dirs.sort()
            for f in sorted(files):
                rel = os.path.normpath(os.path.relpath(os.path.join(folder, f), root))
                if f.endswith(SOURCE_EXTENSIONS) and not skip(rel):
                    yield rel


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--root", required=True)
    ap.add_argument("--out", required=True)
    ap.add_argument("--exclude", action="append", default=[])
    ap.add_argument("--literals", help="also write every non-ASCII narrow string literal, as "
                    "written, to this file: one {literal, sizeof(literal) - 1} initialiser a line")
    ap.add_argument("paths", nargs="+")
    args = ap.parse_args()

    kept = set()
    written = 0
    found = []
    for rel in wanted_files(args.root, args.paths, args.exclude):
        with open(os.path.join(args.root, rel), encoding="utf-8") as f:
            converted = convert(f.read(), rel, found)
        target = os.path.join(args.out, rel)
        kept.add(os.path.normpath(target))
        try:
            with open(target, encoding="utf-8") as f:
                if f.read() == converted:
                    continue
        except FileNotFoundError:
            pass
        os.makedirs(os.path.dirname(target), exist_ok=True)
        with open(target, "w", encoding="utf-8") as f:
            f.write(converted)
        written += 1

    removed = 0
    for folder, _, files in os.walk(args.out):
        for f in files:
            path = os.path.normpath(os.path.join(folder, f))
            if f.endswith(SOURCE_EXTENSIONS) and path not in kept:
                os.remove(path)
                removed += 1
    if args.literals:
        seen = set()
        lines = []
        for literal, place in found:
            if literal not in seen:
                seen.add(literal)
                lines.append(f"{{{literal}, sizeof({literal}) - 1}},  // {place}\n")
        os.makedirs(os.path.dirname(os.path.abspath(args.literals)), exist_ok=True)
        with open(args.literals, "w", encoding="utf-8") as f:
            f.writelines(lines)
    print(f"cp932_sources: {len(kept)} files, {written} rewritten, {removed} removed")


if __name__ == "__main__":
    sys.exit(main())
