#!/usr/bin/env python3
"""Reads morvane-cli's ndjson back with a JSON parser and checks every object:
ndjson_check.py FILE CHARACTERS BITS_PER_CHARACTER; prints "ok" or what is wrong."""
import json
import sys

path, characters, per_character = sys.argv[1], sys.argv[2], float(sys.argv[3])
count = 0
with open(path, encoding="utf-8") as lines:
    for line in lines:
        o = json.loads(line)
        problem = None
        if set(o) != {"password", "length", "bits"}:
            problem = "keys"
        elif len(o["password"]) != o["length"]:
            problem = "length"
        elif not set(o["password"]) <= set(characters):
            problem = "characters"
        elif abs(o["bits"] - o["length"] * per_character) > 0.01:
            problem = "bits"
        if problem:
            print(problem, line)
            sys.exit(1)
        count += 1
print("ok", count)
