#!/usr/bin/env python3
"""Embeds a JPEG picture into a form description as the Picture.Data block
of one of its objects (by default Image1 in resources/TFORM1).

The streamed picture data is one byte N, the N ASCII bytes of the graphic's
class name ("TJPEGImage"), then the JPEG file's bytes, written as hex lines
of 32 bytes. The block of the object is replaced in place; everything else in
the description stays as it is.

Usage: tools/embed_picture.py [picture.jpg] [description] [object name]
"""
import pathlib
import re
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
BYTES_PER_LINE = 32


def picture_block(jpeg: bytes, indent: str) -> str:
    if jpeg[:2] != b"\xff\xd8":
        raise SystemExit("not a JPEG file (no start-of-image marker)")
    class_name = b"TJPEGImage"
    data = bytes([len(class_name)]) + class_name + jpeg
    lines = [data[i:i + BYTES_PER_LINE].hex().upper() for i in range(0, len(data), BYTES_PER_LINE)]
    inner = indent + "  "
    return indent + "Picture.Data = {\n" + "\n".join(inner + line for line in lines) + "}\n"


def embed(description: str, object_name: str, jpeg: bytes) -> str:
    start = re.search(r"^(\s*)object\s+" + re.escape(object_name) + r"\s*:.*$", description,
                      re.MULTILINE | re.IGNORECASE)
    if not start:
        raise SystemExit(f"object {object_name} not found")
    indent = start.group(1) + "  "
    body_start = start.end() + 1
    end = re.compile(r"^" + re.escape(start.group(1)) + r"end\s*$", re.MULTILINE | re.IGNORECASE)
    body_end_match = end.search(description, body_start)
    if not body_end_match:
        raise SystemExit(f"end of object {object_name} not found")
    body = description[body_start:body_end_match.start()]
    block = picture_block(jpeg, indent)
    existing = re.search(r"^\s*Picture\.Data\s*=\s*\{[^}]*\}\s*\n", body, re.MULTILINE | re.IGNORECASE)
    if existing:
        body = body[:existing.start()] + block + body[existing.end():]
    else:
        body += block
    return description[:body_start] + body + description[body_end_match.start():]


def main() -> None:
    picture = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else ROOT / "resources" / "injector_rail.jpg"
    target = pathlib.Path(sys.argv[2]) if len(sys.argv) > 2 else ROOT / "resources" / "TFORM1"
    object_name = sys.argv[3] if len(sys.argv) > 3 else "Image1"
    jpeg = picture.read_bytes()
    text = target.read_text(encoding="utf-8")
    target.write_text(embed(text, object_name, jpeg), encoding="utf-8")
    print(f"embedded {picture.name} ({len(jpeg)} bytes) into {target.name} as {object_name}.Picture.Data")


if __name__ == "__main__":
    main()
