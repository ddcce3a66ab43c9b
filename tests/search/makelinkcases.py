#!/usr/bin/env python3
"""Writes linkcases.inc: pages written for the page-scan tests with the links that
linkoracle.py expects of them, and linkoracle.py itself for the tests that run it on installed
documentation. Run it again after changing a page or the oracle:

    python3 tests/search/makelinkcases.py > tests/search/linkcases.inc
"""

import os

from linkoracle import expected_links

HERE = os.path.dirname(os.path.abspath(__file__))

# (name, page address, mode, images, favicon per link, favicon of page, page text)
PAGES = [
    ("every relative form", "https://example.com/d/e/page.html", 2, False, False, False, """
<html><body>
<a href="http://other.org/a.zip">absolute</a>
<a href="https://secure.org/b.ico">https</a>
<a href="/root/c.ico">root relative</a>
<a href="../up.ico">one up</a> <a href="../../two/up.ico">two up</a>
<a href="../../../../past/root.ico">beyond the root</a>
<a href="./here.cur">dot slash</a> <a href="x/./y/../z.ani">inner dots</a>
<a href="//cdn.example.net/lib/d.icl">scheme relative</a>
<a href="?page=2">query only</a> <a href="list.php?id=1&amp;n=2">query with reference</a>
<a href="#top">fragment only</a> <a href="f.ico#part">fragment</a>
<a href="sub/">folder</a> <a href="word">bare word</a> <a href="p.shtml">shtml</a>
<a href="mailto:me@example.com">mail</a> <a href="javascript:void(0)">script</a>
<a href="file:///etc/passwd">local file</a> <a href="data:image/png;base64,AAAA">data</a>
<a href='single.icc'>apostrophes</a> <a href=unquoted.rar>unquoted</a>
<a href="  spaced.ico  ">blanks around</a>
<a href="UP.ICO">letter case</a> <a href="up.ico">again</a>
</body></html>
"""),
    ("base element", "http://example.com/a/b/page.htm", 2, False, False, False, """
<head><base href="http://mirror.example.org/icons/set/"></head>
<a href="one.ico">one</a> <a href="../two.ico">two</a> <a href="/three.ico">three</a>
<a href="?q=1">query</a>
"""),
    ("relative base element", "http://example.com/a/b/page.htm", 1, False, False, False, """
<base href="../c/">
<a href="one.ico">one</a> <a href="../two.zip">two</a> <a href="page.htm">page</a>
"""),
    ("character references", "http://example.com/x/", 1, False, False, False, """
<a href="get.php?f=a.zip&amp;v=1">script</a>
<a href="&#x2F;abs&#47;set.zip">numeric</a>
<a href="a&amp;b.ico">amp</a> <a href="caf&#233;.ico">accented</a>
"""),
    ("bare addresses and carried ones", "http://example.com/", 2, False, False, False, """
See http://files.example.org/pack.zip, or https://files.example.org/pack2.zip; mirror at
http://example.net/dl/get.cgi?u=http%3A//real.example.org/real.zip>x
<a href="http://redirect.example.com/?to=http://target.example.org/t.ico">carried</a>
ftp://ftp.example.org/pub/icons.zip is not found bare, but <a href="ftp://ftp.example.org/f.zip">is</a>
the end http://example.com/last.zip"""),
    ("images", "http://example.com/gallery/index.html", 1, True, False, False, """
<img src="small.gif" width="32" height="32"> <img src="big.png" width="200" height="200"> 
<img src='nosize.png'> <img src="wide.gif" width="32"> <IMG SRC="Upper.GIF" WIDTH=24 HEIGHT=24> 
<img src="near.gif" width = "16" height = "30"> <img src="far.gif" width=16 height=40>
<p><img src="x.gif"><img src="lost.gif"> an image right after an image is passed over</p>
<a href="linked.gif">linked image</a> <a href="linked.ico">icon</a>
"""),
    ("images not taken", "http://example.com/gallery/index.html", 1, False, False, False, """
<img src="small.gif" width="32" height="32"> <a href="linked.gif">linked</a>
<a href="linked.png">png</a> <a href="kept.ico">icon</a>
"""),
    ("favicons", "http://www.example.com/deep/in/site/page.html", 1, False, True, True, """
<a href="http://a.example.org/x.ico">one</a> <a href="http://a.example.org/y.ico">two</a>
<a href="https://b.example.net:8443/z.zip">port</a> <a href="local.zip">here</a>
"""),
    ("lines and tabs", "http://example.com/t/", 1, False, False, False,
     "<a\nhref=\"broken.ico\">broken over lines</a>\n<a\n href=\"seam.ico\">blank at the seam</a>\n<a\thref=\"tab.ico\">tab</a>\r\n"
     "<a href=\"crlf.ico\">\r<a href=\"cr.ico\">\n   <a   \n  href=\"joined.ico\">"),
    ("unterminated values", "http://example.com/u/", 1, False, False, False,
     "<a href=\"good.ico\"> <a href='never closed.ico> <a href=\"ok.zip\">"),
]


def cpp_string(text):
    return 'R"PAGE(' + text + ')PAGE"'


def main():
    out = ["// Written by makelinkcases.py: pages and the links linkoracle.py expects of them.",
           "// clang-format off"]
    out.append("const LinkCase kLinkCases[] = {")
    for name, address, mode, images, per_link, of_page, text in PAGES:
        links = expected_links(text, address, mode, images, per_link, of_page)
        flags = ", ".join("true" if f else "false" for f in (images, per_link, of_page))
        out.append(f'    {{"{name}", "{address}", {mode}, {flags},')
        out.append(f"     {cpp_string(text)},")
        out.append("     {" + ", ".join(cpp_string(link) for link in links) + "}},")
    out.append("};")
    with open(os.path.join(HERE, "linkoracle.py"), encoding="utf-8") as f:
        out.append("const char kLinkOracleScript[] = R\"ORACLE(" + f.read() + ")ORACLE\";")
    out.append("// clang-format on")
    print("\n".join(out))


if __name__ == "__main__":
    main()
