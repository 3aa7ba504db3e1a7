#!/usr/bin/python3
"""Prints what Pillow reads from each image file named on the command line.

One line a file: "ok MODE WIDTH HEIGHT RGBA", where MODE is Pillow's mode of
the file as read (P, L, 1, RGB, RGBA...) and RGBA the pixels converted to
RGBA as hex, rows from the top; or "error WORDS" when Pillow cannot read it.
The image tests compare our decoders, and our PNG files, against these.
"""
import sys

from PIL import Image


def describe(path):
    try:
        with Image.open(path) as image:
            image.load()
            rgba = image.convert("RGBA").tobytes()
            return f"ok {image.mode} {image.width} {image.height} {rgba.hex()}"
    except Exception as error:  # every failure is an answer for the test
        words = " ".join(str(error).split())
        return f"error {type(error).__name__}: {words}"


def main():
    for path in sys.argv[1:]:
        print(describe(path))


if __name__ == "__main__":
    main()
