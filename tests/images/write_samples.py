#!/usr/bin/python3
"""Writes PNG and JPEG files of many kinds with Pillow into FOLDER.

Prints one line a file: its name, width and height. The image tests check
our PNG and JPEG header checks against these files, which come from
encoders other than ours; the wide ones are over our size limit.
"""
import sys

from PIL import Image


def gradient(size):
    return Image.linear_gradient("L").resize(size)


def main():
    folder = sys.argv[1]
    size = (67, 41)
    rgb = Image.merge("RGB", [gradient(size), gradient(size).transpose(Image.Transpose.ROTATE_180),
                              Image.effect_noise(size, 30)])
    exif = Image.Exif()
    exif[0x010E] = "wall texture"  # ImageDescription
    files = {
        "baseline.jpg": (rgb, {"quality": 90}),
        "progressive.jpg": (rgb, {"progressive": True}),
        "grey.jpg": (rgb.convert("L"), {}),
        "cmyk.jpg": (rgb.convert("CMYK"), {}),
        "exif.jpg": (rgb, {"exif": exif.tobytes()}),
        "subsampled.jpg": (rgb, {"subsampling": 2}),
        "rgb.png": (rgb, {}),
        "rgba.png": (rgb.convert("RGBA"), {}),
        "paletted.png": (rgb.quantize(16), {}),
        "grey16.png": (rgb.convert("L").convert("I").point(lambda v: v * 257).convert("I;16"), {}),
        "wide.jpg": (Image.new("L", (20000, 3)), {}),
        "wide.png": (Image.new("RGB", (20000, 3)), {}),
    }
    for name, (image, options) in files.items():
        image.save(f"{folder}/{name}", **options)
        print(name, image.width, image.height)


if __name__ == "__main__":
    main()
