#!/usr/bin/env python3
"""Print a C++ string literal holding the Shift-JIS (code page 932) bytes of
each argument, with the UTF-8 text as a comment, for the message headers."""
import sys

HEX = set(b"0123456789abcdefABCDEF")


def literal(text: str) -> str:
    out, prev_escape = [], False
    for ch in text:
        raw = ch.encode("cp932")
        if len(raw) > 1 or raw[0] < 0x20 or raw in (b'"', b"\\"):
            out.append("".join("\\x%02X" % b for b in raw))
            prev_escape = True
            continue
        if prev_escape and raw[0] in HEX:
            out.append('" "')  # stop the hex escape from swallowing this digit
        out.append(ch)
        prev_escape = False
    return '"' + "".join(out) + '"'


for arg in sys.argv[1:]:
    print(f"// {arg}\n{literal(arg)}")
