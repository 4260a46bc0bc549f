#!/usr/bin/env python3
"""Writes FOLDERS folders of FILES tiny files each under ROOT, for the tree
and ls benchmark: python3 make_many_files.py ROOT FOLDERS FILES"""
import os
import sys


def main():
    root, folders, files = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
    for d in range(folders):
        folder = os.path.join(root, "dir%04d" % d)
        os.makedirs(folder, exist_ok=True)
        for f in range(files):
            with open(os.path.join(folder, "file%03d.txt" % f), "wb") as out:
                out.write(b"x" * (f % 7))


if __name__ == "__main__":
    main()
