#!/usr/bin/env python3
"""Fails when a file of the core includes a header of a layer it may not use.

The layers and what each uses are read from src/core/CMakeLists.txt (the
kinmap_layer calls), so the build and this check share one table. A layer
may include its own headers and those of the layers it uses, directly or
through them. The core includes no Qt header.

usage: check-layers.py [PROJECT_ROOT]   (prints each finding; exit 1 when any)
"""
import os
import re
import sys

root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), '..')
core = os.path.join(root, 'src', 'core')
cmake = open(os.path.join(core, 'CMakeLists.txt'), encoding='utf-8').read()

uses = {}
for name, body in re.findall(r'kinmap_layer\((\w+)(.*?)\)', cmake, re.S):
    words = body.split()
    listed = words[words.index('USES') + 1:words.index('SOURCES')] if 'USES' in words else []
    uses[name] = set(listed)


def reachable(layer, seen=None):
    seen = set() if seen is None else seen
    for used in uses[layer]:
        if used not in seen:
            seen.add(used)
            reachable(used, seen)
    return seen


findings = []
include = re.compile(r'^\s*#\s*include\s*([<"])([^">]+)[">]', re.M)
for folder in sorted(os.listdir(core)):
    path = os.path.join(core, folder)
    if not os.path.isdir(path):
        continue
    if folder not in uses:
        findings.append(f'src/core/{folder}/ is no layer of src/core/CMakeLists.txt')
        continue
    allowed = reachable(folder) | {folder}
    for name in sorted(os.listdir(path)):
        text = open(os.path.join(path, name), encoding='utf-8', errors='replace').read()
        for quote, target in include.findall(text):
            where = f'src/core/{folder}/{name}'
            if quote == '<' and target.startswith('Q'):
                findings.append(f'{where} includes the Qt header <{target}>')
                continue
            layer = target.split('/')[0]
            if quote == '"' and '/' in target and layer not in allowed:
                findings.append(f'{where} includes "{target}": {folder} may use only {", ".join(sorted(allowed))}')

for finding in findings:
    print(finding)
print(f'layer check: {len(uses)} layers, {len(findings)} findings')
sys.exit(1 if findings else 0)
