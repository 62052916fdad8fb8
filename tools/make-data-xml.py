#!/usr/bin/env python3
"""Writes the starter predefinedtext/data.xml: UTF-16LE with a byte-order mark, declared
encoding="UNICODE", as the program reads and writes it. Names and texts that are language keys
are shown in the user's language."""
from pathlib import Path
from xml.sax.saxutils import quoteattr

ENTRIES = [
    ("L0078", "", [
        ("L0079", "L0080", []),
        ("L0081", "L0082", []),
        ("L0083", "L0084", []),
        ("L0085", "L0086", []),
    ]),
    ("L0192", "{day}.{month}.{year} {hour}:{minute}", [
        ("ISO", "{year}-{month}-{day}", []),
        ("Time", "{hour}:{minute}:{second}", []),
    ]),
]


def item(name, value, children, depth):
    pad = "\t" * depth
    attrs = f"name={quoteattr(name)} value={quoteattr(value)}"
    if not children:
        return f"{pad}<item {attrs}/>\r\n"
    inner = "".join(item(*c, depth + 1) for c in children)
    return f"{pad}<item {attrs}>\r\n{inner}{pad}</item>\r\n"


def main():
    body = "".join(item(*e, 1) for e in ENTRIES)
    text = f'<?xml version="1.0" encoding="UNICODE"?>\r\n<config>\r\n{body}</config>\r\n'
    out = Path(__file__).resolve().parent.parent / "predefinedtext" / "data.xml"
    out.write_bytes(b"\xff\xfe" + text.encode("utf-16-le"))
    print(f"wrote {out}")


if __name__ == "__main__":
    main()
