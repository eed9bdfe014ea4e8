#!/usr/bin/python3
"""Reads a QR code drawn in half blocks on standard input back into its text.

    qr_decode.py < drawing

The drawing is turned into a picture, eight pixels a module, which zbarimg
reads; the text it finds goes to standard output.
"""
import sys, subprocess, tempfile, os, re
text = sys.stdin.read()
rows = []
for line in text.split("\n"):
    if "\x1b[30;47m" not in line: continue
    body = re.sub(r"\x1b\[[0-9;]*m", "", line)
    top, bottom = [], []
    for ch in body:
        top.append(ch in "\u2580\u2588"); bottom.append(ch in "\u2584\u2588")
    rows += [top, bottom]
scale = 8
if not rows:
    sys.exit("no QR code in the input")
h, w = len(rows), len(rows[0])
with tempfile.NamedTemporaryFile(suffix=".pbm", delete=False) as f:
    f.write(f"P1\n{w*scale} {h*scale}\n".encode())
    for r in rows:
        line = " ".join("1" if d else "0" for d in r for _ in range(scale))
        for _ in range(scale): f.write((line + "\n").encode())
out = subprocess.run(["zbarimg", "--raw", "-q", f.name], capture_output=True)
os.unlink(f.name)
sys.stdout.buffer.write(out.stdout)
