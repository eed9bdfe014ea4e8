#!/usr/bin/env python3
"""Runs the memory probe and counts how many of its 40 passwords are still in
its memory after Clear, in each encoding:  memory_scan.py PROBE [COUNT]"""
import re
import subprocess
import sys

probe = subprocess.Popen([sys.argv[1]] + sys.argv[2:], stdin=subprocess.PIPE, stdout=subprocess.PIPE)
passwords = []
for line in probe.stdout:
    line = line.rstrip(b"\n")
    if line == b"cleared":
        break
    passwords.append(line.decode("utf-8"))

regions = []
with open(f"/proc/{probe.pid}/maps") as maps:
    for entry in maps:
        fields = entry.split()
        start, end = (int(x, 16) for x in fields[0].split("-"))
        if "r" in fields[1] and (len(fields) < 6 or not fields[5].startswith("[v")):
            regions.append((start, end, fields[5] if len(fields) > 5 else "[anon]"))
memory = []
with open(f"/proc/{probe.pid}/mem", "rb", 0) as mem:
    for start, end, name in regions:
        try:
            mem.seek(start)
            memory.append((name, mem.read(end - start)))
        except OSError:
            pass
probe.stdin.write(b"\n")
probe.stdin.close()
probe.wait()

found = {"UTF-8": 0, "UTF-16": 0, "UTF-32": 0}
anywhere = 0
for password in passwords:
    hit = False
    for encoding, codec in (("UTF-8", "utf-8"), ("UTF-16", "utf-16-le"), ("UTF-32", "utf-32-le")):
        needle = password.encode(codec)
        if any(needle in block for _, block in memory):
            found[encoding] += 1
            hit = True
    anywhere += hit
print(f"{anywhere} of {len(passwords)} passwords found after Clear; by encoding: {found}")
if anywhere or len(passwords) != 40:
    print("0 passed, 1 failed")
    sys.exit(1)
print("1 passed, 0 failed")
