#!/usr/bin/env python3
"""Prints the text of a page's <pre> blocks as a browser's HTML parser reads it."""
import sys
from html.parser import HTMLParser


class PreText(HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.depth = 0
        self.text = []

    def handle_starttag(self, tag, attrs):
        if tag == "pre":
            self.depth += 1

    def handle_endtag(self, tag):
        if tag == "pre":
            self.depth -= 1

    def handle_data(self, data):
        if self.depth > 0:
            self.text.append(data)


parser = PreText()
with open(sys.argv[1], encoding="utf-8", newline="") as page:
    parser.feed(page.read())
parser.close()
sys.stdout.buffer.write("".join(parser.text).encode("utf-8"))
