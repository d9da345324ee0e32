#!/usr/bin/env python3
"""Turns docs/guide-ja.md into one HTML page for the Windows zip.

usage: guide_html.py GUIDE.md OUT.html

The pictures are put inside the page (data: addresses), so that the page is
one file beside zepx.exe that any browser opens. Only what the guide uses is
understood: headings, paragraphs, lists, tables, pictures, links, `code` and
**bold**. A link to another .md file becomes its text and the file's name,
since those files are not in the zip.
"""
import base64
import html
import os
import re
import sys


def inline(text, folder):
    out = []
    pos = 0
    for m in re.finditer(r"`([^`]*)`|!\[([^\]]*)\]\(([^)]*)\)|\[([^\]]*)\]\(([^)]*)\)|\*\*([^*]*)\*\*", text):
        out.append(html.escape(text[pos:m.start()]))
        code, alt, src, label, href, bold = m.groups()
        if code is not None:
            out.append("<code>%s</code>" % html.escape(code))
        elif src is not None:
            with open(os.path.join(folder, src), "rb") as f:
                data = base64.b64encode(f.read()).decode("ascii")
            out.append('<img alt="%s" src="data:image/png;base64,%s">' % (html.escape(alt), data))
        elif href is not None:
            if href.endswith(".md"):
                out.append(html.escape(label if label == href else "%s (%s)" % (label, href)))
            else:
                out.append('<a href="%s">%s</a>' % (html.escape(href), html.escape(label)))
        else:
            out.append("<strong>%s</strong>" % html.escape(bold))
        pos = m.end()
    out.append(html.escape(text[pos:]))
    return "".join(out)


def join(parts):
    # A line break between two Japanese characters is no space; between
    # two words of ASCII it is one.
    text = parts[0]
    for part in parts[1:]:
        text += (" " if text[-1:].isascii() and part[:1].isascii() else "") + part
    return text


def cells(row):
    return [c.strip() for c in row.strip().strip("|").split("|")]


def convert(lines, folder):
    body, para, i = [], [], 0
    title = "ZEPX"

    def flush():
        if para:
            body.append("<p>%s</p>" % inline(join(para), folder))
            para.clear()

    while i < len(lines):
        line = lines[i].rstrip("\n")
        heading = re.match(r"(#{1,4}) (.*)", line)
        if heading:
            flush()
            level = len(heading.group(1))
            if level == 1:
                title = heading.group(2)
            body.append("<h%d>%s</h%d>" % (level, inline(heading.group(2), folder), level))
        elif line.startswith("|"):
            flush()
            rows = []
            while i < len(lines) and lines[i].startswith("|"):
                rows.append(cells(lines[i]))
                i += 1
            head, rest = rows[0], [r for r in rows[1:] if not all(re.fullmatch(r":?-+:?", c) for c in r)]
            body.append("<table><tr>%s</tr>" % "".join("<th>%s</th>" % inline(c, folder) for c in head))
            for r in rest:
                body.append("<tr>%s</tr>" % "".join("<td>%s</td>" % inline(c, folder) for c in r))
            body.append("</table>")
            continue
        elif re.match(r"(- |\d+\. )", line):
            flush()
            tag = "ul" if line.startswith("- ") else "ol"
            body.append("<%s>" % tag)
            while i < len(lines) and re.match(r"(- |\d+\. )", lines[i]):
                item = [re.sub(r"^(- |\d+\. )", "", lines[i].rstrip("\n"))]
                i += 1
                while i < len(lines) and lines[i].startswith("  ") and lines[i].strip():
                    item.append(lines[i].strip())
                    i += 1
                body.append("<li>%s</li>" % inline(join(item), folder))
            body.append("</%s>" % tag)
            continue
        elif not line.strip():
            flush()
        else:
            para.append(line)
        i += 1
    flush()
    return title, "\n".join(body)


def main():
    source, target = sys.argv[1], sys.argv[2]
    with open(source, encoding="utf-8") as f:
        title, body = convert(f.readlines(), os.path.dirname(source))
    style = ("body{font-family:'Yu Gothic UI','Meiryo',sans-serif;max-width:52em;margin:2em auto;padding:0 1em;"
             "line-height:1.7}img{max-width:100%;border:1px solid #ccc}table{border-collapse:collapse}"
             "th,td{border:1px solid #bbb;padding:.3em .6em;vertical-align:top}th{background:#eee}"
             "code{background:#f3f3f3;padding:0 .2em}")
    with open(target, "w", encoding="utf-8", newline="\r\n") as f:
        f.write('<!DOCTYPE html>\n<html lang="ja">\n<head>\n<meta charset="utf-8">\n<title>%s</title>\n'
                "<style>%s</style>\n</head>\n<body>\n%s\n</body>\n</html>\n" % (html.escape(title), style, body))


if __name__ == "__main__":
    main()
