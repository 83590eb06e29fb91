#!/usr/bin/env python3
"""Runs every command shown in README.md's console blocks and compares its
output with the output shown.

A console block is a fenced block marked `console`. A line beginning with
"$ " is a command; the lines up to the next command or the end of the block
are its expected standard output. Each block runs in a fresh copy of
examples/, with the release build's Rowpluck first on PATH and nothing on
standard input.
"""
import os
import shutil
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def blocks(text):
    block, inside = [], False
    for line in text.splitlines():
        if not inside and line.strip() == "```console":
            inside, block = True, []
        elif inside and line.strip() == "```":
            inside = False
            yield block
        elif inside:
            block.append(line)


def commands(block):
    cmd, out = None, []
    for line in block:
        if line.startswith("$ "):
            if cmd is not None:
                yield cmd, out
            cmd, out = line[2:], []
        else:
            out.append(line)
    if cmd is not None:
        yield cmd, out


def main():
    bindir = os.path.join(ROOT, "build", "release")
    if not os.path.exists(os.path.join(bindir, "Rowpluck")):
        sys.exit("build the release preset first")
    env = dict(os.environ, PATH=bindir + os.pathsep + os.environ["PATH"], LC_ALL="C.UTF-8")
    with open(os.path.join(ROOT, "README.md"), encoding="utf-8") as f:
        readme = f.read()
    ran = failed = 0
    for block in blocks(readme):
        work = tempfile.mkdtemp(prefix="rowpluck-readme.")
        shutil.copytree(os.path.join(ROOT, "examples"), work, dirs_exist_ok=True)
        for cmd, expected in commands(block):
            ran += 1
            got = subprocess.run(["bash", "-c", cmd], cwd=work, env=env, stdin=subprocess.DEVNULL,
                                 stdout=subprocess.PIPE, stderr=subprocess.STDOUT).stdout
            got_lines = got.decode("utf-8", "backslashreplace").splitlines()
            if got_lines != expected:
                failed += 1
                print(f"MISMATCH: $ {cmd}\n--- shown:\n" + "\n".join(expected) +
                      "\n--- got:\n" + "\n".join(got_lines))
        shutil.rmtree(work)
    print(f"README commands: {ran - failed} passed, {failed} failed")
    return 1 if failed or ran == 0 else 0


if __name__ == "__main__":
    sys.exit(main())
