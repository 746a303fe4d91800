#!/usr/bin/env python3
"""Turns a language source (UTF-8 text, one key=value a line) into a language
file as the program reads it: UTF-16LE with the FF FE byte-order mark.

Usage: make_lng.py SOURCE.txt OUTPUT.lng

The program's reader is forgiving (a line "key = value" gives the value
"= value"), so the mistakes that reader would take silently are refused here:
a line without "=", white space before the "=", an empty key and a key given
twice. Line ends are kept as written.
"""
import os
import sys


def check(source_name, text):
    seen = {}
    errors = []
    for number, line in enumerate(text.splitlines(), 1):
        if not line.strip():
            continue
        key, equals, _ = line.partition("=")
        where = f"{source_name}:{number}"
        if not equals:
            errors.append(f"{where}: no '=' in the line")
        elif not key or key != key.strip() or any(c.isspace() for c in key):
            errors.append(f"{where}: the key must be one word written right before '='")
        elif key in seen:
            errors.append(f"{where}: '{key}' was given already on line {seen[key]}")
        else:
            seen[key] = number
    return errors


def main(argv):
    if len(argv) != 3:
        print("usage: make_lng.py SOURCE.txt OUTPUT.lng", file=sys.stderr)
        return 2
    source, output = argv[1], argv[2]
    with open(source, "rb") as f:
        raw = f.read()
    try:
        text = raw.decode("utf-8")
    except UnicodeDecodeError as e:
        print(f"{source}: not UTF-8 ({e})", file=sys.stderr)
        return 1
    text = text.removeprefix("\ufeff")
    errors = check(os.path.basename(source), text)
    if errors:
        print("\n".join(errors), file=sys.stderr)
        return 1
    os.makedirs(os.path.dirname(os.path.abspath(output)), exist_ok=True)
    temporary = output + ".tmp"
    with open(temporary, "wb") as f:
        f.write(b"\xff\xfe" + text.encode("utf-16-le"))
    os.replace(temporary, output)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
