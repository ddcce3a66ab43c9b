#!/usr/bin/env python3
"""Expected links of a web page, for the tests of the page scan.

The pieces of the page are found by the scan's rules; every reference is resolved by
urllib.parse.urljoin and its character references decoded by html.unescape, so that the
resolution in the C++ code is checked against an independent implementation.

Usage: linkoracle.py PAGE BASE MODE [--images] [--favicon-per-link] [--favicon-of-page]
"""

import html
import re
import sys
from urllib.parse import urljoin, urlsplit

STOP_PATTERN = re.compile("[\0\t \"',;<>]")
ASCII_LOWER = str.maketrans("ABCDEFGHIJKLMNOPQRSTUVWXYZ", "abcdefghijklmnopqrstuvwxyz")
FILE_EXTENSIONS = {"zip", "rar", "ico", "icl", "icc", "cur", "ani", "gif", "png"}


def lower_ascii(text):
    """Lower case of ASCII letters only, so that positions stay the same."""
    return text.translate(ASCII_LOWER)


def join_lines(text):
    joined = ""
    for line in text.replace("\r\n", "\n").replace("\r", "\n").split("\n"):
        line = line.replace("\t", " ")
        content = line.strip("".join(chr(c) for c in range(33)))
        if not content:
            continue
        if joined and line.startswith(" ") and not joined.endswith(" "):
            joined += " "
        joined += content
        if line.endswith(" "):
            joined += " "
    return joined


def find(lower, needle, start):
    at = lower.find(needle, start)
    return at if at >= 0 else None


def until_stop(text, start):
    match = STOP_PATTERN.search(text, start)
    return match.start() if match else None


def side(tag, key):
    at = tag.find(key)
    if at < 0:
        return -1
    digits = ""
    for c in tag[at + len(key):]:
        if not c.isdigit() or not c.isascii():
            break
        digits += c
    return int(digits[:7]) if digits else -1


def accept_image_tag(tag):
    t = tag.replace('"', " ").replace("'", " ").replace("  ", " ")
    t = t.replace("= ", "=").replace(" =", "=")
    width, height = side(t, "width="), side(t, "height=")
    src = ""
    at = t.find("src=")
    if at >= 0:
        rest = t[at + 4:]
        ends = [i for i in (rest.find(" "), rest.find(">")) if i >= 0]
        src = rest[:min(ends)] if ends else rest
    if src.find(".gif", 1) < 0 and src.find(".png", 1) < 0:
        return None
    if width == -1 and height == -1:
        return src
    ok = all(11 <= s <= 128 for s in (width, height)) and abs(width - height) < 20
    return src if ok else None


def href_value(text, blank, pos):
    """(value, next position) of the href attribute whose blank is at blank."""
    start = blank + 6
    quote = text[start] if start < len(text) else ""
    if quote in ('"', "'"):
        close = text.find(quote, start + 1)
        return ("", pos + 1) if close < 0 else (text[start + 1:close], close + 1)
    stop = until_stop(text, start)
    return ("", pos + 1) if stop is None else (text[start:stop], stop + 1)


def pieces(text, take_images):
    """Yields (piece, is_attribute) in the order the scan meets them."""
    lower = lower_ascii(text)
    needles = [" href=", "http://", "https://"] + (["<img "] if take_images else [])
    found = {}
    pos = 0
    while True:
        for needle in needles:  # an occurrence at or after pos is still the first one
            if needle not in found or (found[needle] is not None and found[needle] < pos):
                found[needle] = find(lower, needle, pos)
        hits = [(at, needle) for needle, at in found.items() if at is not None]
        if not hits:
            return
        at, needle = min(hits)
        if needle == " href=":
            value, pos = href_value(text, at, pos)
            yield value, True
        elif needle != "<img ":
            stop = until_stop(text, at)
            value, pos = ("", pos + 1) if stop is None else (text[at:stop], stop + 1)
            yield value, False
        else:
            close = text.find(">", at + 2)
            if close < 0:
                pos += 1
                continue
            tag = text[at:close + 1]
            src = accept_image_tag(lower_ascii(tag))
            start = lower_ascii(tag).find(src) if src else -1
            pos = close + 2
            yield (tag[start:start + len(src)] if start >= 0 else ""), True


def document_base(text, page):
    base = page.split("#")[0]
    if "://" not in base:
        base = "http://" + base
    lower = lower_ascii(text)
    tag = lower.find("<base ")
    if tag < 0:
        return base
    href = lower.find(" href=", tag)
    if href < 0 or href > lower.find(">", tag):
        return base
    value = html.unescape(href_value(text, href, 0)[0]).strip()
    resolved = urljoin(base, value)
    return resolved.split("#")[0] if is_web(resolved) else base


def is_web(address):
    return lower_ascii(address).startswith(("http://", "https://", "ftp://"))


def carried(link):
    for scheme in ("http", "https"):
        for escaped in (scheme + "%3A//", scheme + "%3a//"):
            link = link.replace(escaped, scheme + "://")
    lower = lower_ascii(link)
    hits = [p for p in (lower.find("http://", 1), lower.find("https://", 1)) if p >= 0]
    return link[min(hits):] if hits else link


def resolve(base, piece):
    piece = piece.strip("".join(chr(c) for c in range(33)))
    if not piece or lower_ascii(piece[:7]) == "mailto:":
        return ""
    link = urljoin(base, piece).split("#")[0]
    return carried(link) if is_web(link) else ""


def extension(link):
    path = urlsplit(link).path
    if "." not in path:
        return ""
    x = path.rsplit(".", 1)[1]
    return "" if any(c in x for c in "/\\:") else lower_ascii(x)


def favicon(link):
    parts = urlsplit(link)
    host = parts.netloc.rsplit("@", 1)[-1].split(":")[0]
    return f"{parts.scheme}://{host}/favicon.ico" if "." in host else ""


def for_mode(link, mode, take_images):
    x = extension(link)
    if x in ("gif", "png") and not take_images:
        return ""
    if mode == 2 and (x in ("", "cgi", "php", "asp", "aspx") or "htm" in x):
        return "*" + link
    return link if x in FILE_EXTENSIONS else ""


def expected_links(page_text, page, mode, images=False, per_link=False, of_page=False):
    text = join_lines(page_text)
    base = document_base(text, page)
    links, seen = [], set()

    def add(link):
        if link and lower_ascii(link) not in seen:
            seen.add(lower_ascii(link))
            links.append(link)

    for piece, attribute in pieces(text, images):
        link = resolve(base, html.unescape(piece) if attribute else piece)
        if not link:
            continue
        if per_link:
            add(favicon(link))
        add(for_mode(link, mode, images))
    if of_page:
        add(favicon(page))
    return links


def main(argv):
    page, base, mode = argv[1], argv[2], int(argv[3])
    flags = set(argv[4:])
    with open(page, encoding="utf-8", errors="surrogateescape") as f:
        text = f.read()
    for link in expected_links(text, base, mode, "--images" in flags,
                               "--favicon-per-link" in flags, "--favicon-of-page" in flags):
        sys.stdout.buffer.write(link.encode("utf-8", "surrogateescape") + b"\n")


if __name__ == "__main__":
    main(sys.argv)
