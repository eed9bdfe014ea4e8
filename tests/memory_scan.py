#!/usr/bin/env python3
"""Runs the memory probe and counts how many of its 40 passwords are still in
its memory after Clear, in each encoding, and how many of the random words
it took from the kernel:  memory_scan.py GETRANDOM_LOG_SHIM PROBE [COUNT]"""
import os
import subprocess
import sys
import tempfile

shim, probe_args = sys.argv[1], sys.argv[2:]
random_log = tempfile.NamedTemporaryFile(prefix="morvane-random-", delete=False)
random_log.close()
os.unlink(random_log.name)  # the shim creates it at the first block
environment = dict(os.environ, LD_PRELOAD=shim, MORVANE_RANDOM_LOG=random_log.name)
probe = subprocess.Popen(probe_args, stdin=subprocess.PIPE, stdout=subprocess.PIPE, env=environment)
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

# The random blocks as 64-bit words; a word copied anywhere sits on a word's
# boundary. Zero words tell nothing.
with open(random_log.name, "rb") as log:
    taken = log.read()
os.unlink(random_log.name)
random_words = set(memoryview(taken).cast("Q")) - {0}
left = set()
for _, block in memory:
    usable = len(block) - len(block) % 8
    left |= random_words.intersection(memoryview(block)[:usable].cast("Q"))
print(f"{len(left)} of {len(random_words)} random words taken from the kernel found after Clear")

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
if anywhere or len(passwords) != 40 or not random_words or left:
    print("0 passed, 1 failed")
    sys.exit(1)
print("1 passed, 0 failed")
