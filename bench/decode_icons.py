#!/usr/bin/python3
"""Decodes every image of the ICO files given to RGBA in memory with Pillow, in one process, and
prints the counts as bench/decode_icons.cpp does: "FILES files, IMAGES images, PIXELS pixels".
A file Pillow cannot open counts as a file with no images. With --digest, one line per image
comes first: file, WxH and the CRC-32 of its RGBA rows (top row first).

    decode_icons.py [--digest] FILE...
"""
import sys
import zlib

from PIL import Image


def decode_file(path, digest):
    """Returns (images, pixels) decoded from one ICO file."""
    images = pixels = 0
    try:
        icon = Image.open(path)
        entries = len(icon.ico.entry)
    except Exception as error:  # pylint: disable=broad-except
        print(f"decode_icons.py: {path}: {error}", file=sys.stderr)
        return 0, 0
    # Every directory entry, not one per size as sizes() and getimage() give: an icon often holds
    # one size in several colour depths.
    for index in range(entries):
        try:
            image = icon.ico.frame(index).convert("RGBA")
            image.load()
        except Exception as error:  # pylint: disable=broad-except
            print(f"decode_icons.py: {path}: image {index}: {error}", file=sys.stderr)
            continue
        if digest:
            crc = zlib.crc32(image.tobytes())
            print(f"{path}\t{image.width}x{image.height}\t{crc:08x}")
        images += 1
        pixels += image.width * image.height
    return images, pixels


def main(args):
    digest = args[:1] == ["--digest"]
    paths = args[1:] if digest else args
    if not paths:
        print("usage: decode_icons.py [--digest] FILE...", file=sys.stderr)
        return 2
    images = pixels = 0
    for path in paths:
        file_images, file_pixels = decode_file(path, digest)
        images += file_images
        pixels += file_pixels
    print(f"{len(paths)} files, {images} images, {pixels} pixels")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
